// The about box "Info": product name, version, the year line and two links.
#pragma once

#include <QString>

class QWidget;

namespace qv {

// The program's version as four numbers, "1.0.0.0".
QString ProgramVersionText();
void ShowAboutDialog(QWidget* parent);

}  // namespace qv
