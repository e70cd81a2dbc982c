#pragma once

#include <QObject>
#include <QSize>
#include <QString>

#include <functional>

class QBoxLayout;
class QPushButton;
class QWidget;

namespace aurelant {

// What the windows beside the main window (the chart, the viewer) share: Ctrl+W and Escape
// close them, they open where they were left or else beside the main window where the screen
// has room, and they remember their size and place.
class SideWindow : public QObject {
  public:
    // `key` names the window's geometry in the settings; `size` is its first size, within the
    // screen.
    SideWindow(QWidget& window, QString key, QSize size);

    // Shows the window, the first time at its remembered place or beside `main`, and brings it
    // to the front.
    void show(const QWidget* main);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void placeBeside(const QWidget* main);
    void remember();

    QWidget& window_;
    QString key_;
    QSize size_;
    bool placed_ = false;
};

// A button named `name` at the end of `row`, doing `action` when clicked.
QPushButton* addButton(QWidget& window, QBoxLayout& row, const char* name, const QString& caption,
                       const std::function<void()>& action);

}  // namespace aurelant
