#pragma once
// A small mapping of the tests' own between calendar objects and items:
// VEVENT (reminder) or VTODO (memo) with UID, SUMMARY, DESCRIPTION and a
// DTSTART in UTC; a patch rewrites only the lines of the fields that
// changed and keeps every other line. Enough to drive the pass's decisions
// against a real server without the full mapping of calendar/.
#include "sync/object_mapping.h"

ObjectMapping FakeObjectMapping();
