#pragma once

#include <QIcon>

namespace kovrant {

// The program's icon in all its sizes, for its windows.
QIcon ProgramIcon();

} // namespace kovrant
