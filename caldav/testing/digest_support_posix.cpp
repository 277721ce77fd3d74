#include "caldav/testing/digest_support.h"

bool TransportSpeaksDigest() { return true; }
