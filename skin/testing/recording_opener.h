#pragma once
// A LinkOpener for tests: remembers what it was asked to open.
#include <string>
#include <vector>

#include "skin/link_opener.h"

class RecordingOpener : public LinkOpener {
 public:
  void Open(const std::string& target) override { opened.push_back(target); }
  std::vector<std::string> opened;
};
