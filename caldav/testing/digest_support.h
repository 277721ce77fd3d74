#pragma once
// Whether the system's transport can answer a Digest challenge here: Wine's
// WinHTTP cannot (it has no Digest security package), Windows' and libcurl can.
bool TransportSpeaksDigest();
