#pragma once
// Reading the header lines of an answer, for the transports.
#include <string_view>
#include <vector>

#include "caldav/http_transport.h"

// "Name: value" (the line end and the spaces around the value removed).
// False for a line that is no header: the status line, the blank line.
bool ParseHeaderLine(std::string_view line, HttpHeader& header);

// The headers of a block of lines separated by CRLF or LF.
std::vector<HttpHeader> ParseHeaderBlock(std::string_view block);
