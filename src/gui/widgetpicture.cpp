#include "widgetpicture.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>
#include <QWidget>

namespace aurelant {

std::string widgetPicture(QWidget& widget, PictureFormat format, const QString& title) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (format == PictureFormat::Svg) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(widget.size());
        svg.setViewBox(widget.rect());
        svg.setTitle(title);
        QPainter painter(&svg);
        widget.render(&painter);
    } else if (!widget.grab().save(&buffer, "PNG")) {
        return {};
    }
    return bytes.toStdString();
}

}  // namespace aurelant
