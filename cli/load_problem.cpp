// How tallyo-cli reports what stopped or cut short a load of event.dat.
#include <iostream>

#include "base/text_convert.h"
#include "cli/cli_context.h"
#include "events/event_list.h"

void PrintSystemText(std::ostream& out, const std::string& text) {
#ifdef _WIN32
  PrintCp936(out, text);
#else
  out << text;
#endif
}

void PrintLoadProblem(const LoadResult& result, const std::string& path) {
  std::cerr << "tallyo-cli: ";
  if (result.kind == LoadResult::Kind::kDamaged) {
    // The program's own message, with the path spliced in after conversion.
    std::string message = cp936::ToUtf8(ArchiveErrorMessage(result.archive_error, "%1"));
    std::size_t at = message.find("%1");
    std::cerr << message.substr(0, at);
    PrintSystemText(std::cerr, path);
    std::cerr << message.substr(at + 2);
  } else {
    PrintSystemText(std::cerr, result.message);
  }
  std::cerr << "\n";
}
