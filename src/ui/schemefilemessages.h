#pragma once

#include "schemes/customschemefile.h"

class QWidget;

namespace rainquill {

// The scheme file's routines as the windows run them: with the program's messages, and a
// missing file rebuilt.

// Reads color.dat into the custom schemes; a missing file is rebuilt and leaves the
// schemes as they were.
void LoadCustomSchemes(QWidget *parent, CustomSchemeFile &file);

// Warns that the file is damaged and writes a new one of 60 lines "0"; false, after the
// message that says why, when it could not be written.
bool RebuildColorFile(QWidget *parent, CustomSchemeFile &file);

// Stores one scheme; a missing file is rebuilt first. False, after the one message that
// says what went wrong, when the scheme could not be stored.
bool SaveCustomScheme(QWidget *parent, CustomSchemeFile &file, int number, const ColorScheme &scheme);

} // namespace rainquill
