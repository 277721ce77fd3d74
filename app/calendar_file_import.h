#pragma once
// The import of a .ics file into the program's own folder (event.dat and
// repeat.ini beside Tallyo.exe), as the import dialog's work: the file is
// read and planned against the folder's files as they are then, and the
// plan is made through the folder's one door, like any other writer's
// change; the main window takes in what it wrote at its next look.
#include <memory>
#include <string>

#include "app/import_work.h"

// `path`: the file, code page 936.
std::unique_ptr<ImportWork> MakeCalendarFileImport(std::string path);
