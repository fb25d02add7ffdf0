#pragma once

#include <QFont>
#include <QIcon>
#include <QRect>

class QWidget;

namespace vq {

// The captions name the fonts 楷体_GB2312 and 宋体; these map them to the
// installed Kai and Song faces (and set the application font), so every
// caption renders in Chinese whatever the system calls its fonts.
void installChineseFonts();
QFont kaiFont(double points);
QFont songFont(double points);

// The window's icon at the usual sizes from 16 to 256 pixels, drawn here
// rather than shipped as a file.
QIcon appIcon();

// Layout is given in twips (1440 to the inch), converted at the screen's
// logical resolution.
int twips(const QWidget *widget, double value);
QRect twipsRect(const QWidget *widget, double left, double top, double width, double height);

} // namespace vq
