#pragma once

#include <QTimer>
#include <QWidget>
#include <string>

#include "sidewindow.h"
#include "textbrowserengine.h"
#include "viewer/frmbrowser.h"

class QComboBox;
class QTextBrowser;

namespace aurelant {

// The viewer's window ("webholder" holding "frmBrowser"): the toolbar, the address box and the
// page display, drawn from the FrmBrowser model, to which it forwards every event.
class ViewerWindow : public QWidget {
    Q_OBJECT

  public:
    // Opens on `vieweraddress` (the home page when it is empty).
    ViewerWindow(std::string& vieweraddress, QWidget* parent);
    ~ViewerWindow() override;

    // A further request while the window is open: shows the address and comes to the front.
    void showAddress(const std::string& address);
    // Shows the window, the first time where it was left or beside `main`.
    void showBeside(const QWidget* main);

    const FrmBrowser& model() const { return model_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildToolbar(QWidget* browser);
    void refresh();
    void showCaptionAndTimer();

    QTextBrowser* display_;
    TextBrowserEngine engine_;
    FrmBrowser model_;
    QComboBox* address_ = nullptr;
    QTimer timer_;
    SideWindow* side_ = nullptr;
};

}  // namespace aurelant
