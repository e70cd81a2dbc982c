#pragma once

#include <QString>
#include <string>

#include "chart/chartexport.h"

class QWidget;

namespace aurelant {

// A widget as drawn on the screen, as a picture file's bytes: PNG, or SVG titled `title`. Empty
// when the picture could not be made.
std::string widgetPicture(QWidget& widget, PictureFormat format, const QString& title);

}  // namespace aurelant
