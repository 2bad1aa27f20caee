#pragma once

#include <QString>

namespace pagora {

// The folder the program works in: the folder that holds the program file, or,
// when the program cannot write there or is installed among the system's
// programs (/usr/bin, /opt/...), the user's download folder, created if need be.
QString choose_program_folder(const QString& application_folder);

} // namespace pagora
