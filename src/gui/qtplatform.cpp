#include "qtplatform.h"

#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <algorithm>
#include <array>
#include <cstdio>

#include "app/aurelant.h"
#include "common/dayorder.h"
#include "formdialogs.h"
#include "platform/formmodel.h"
#include "textconversion.h"
#include "viewerwindow.h"

namespace aurelant {
namespace {

QMessageBox::Icon qtIcon(Icon icon) {
    switch (icon) {
        case Icon::Information:
            return QMessageBox::Information;
        case Icon::Question:
            return QMessageBox::Question;
        case Icon::Exclamation:
            return QMessageBox::Warning;
        case Icon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

// A document's usual margin. Printers reach much closer to the edge, but not all the same way,
// and text that close gets clipped; a printer that needs more room than this gets it.
constexpr qreal kMarginMm = 15;

void layOutPage(QPrinter& printer, bool landscape) {
    QPageLayout layout = printer.pageLayout();
    layout.setOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    layout.setUnits(QPageLayout::Millimeter);
    const QMarginsF least = layout.minimumMargins();
    layout.setMargins(QMarginsF(std::max(least.left(), kMarginMm), std::max(least.top(), kMarginMm),
                                std::max(least.right(), kMarginMm),
                                std::max(least.bottom(), kMarginMm)));
    printer.setPageLayout(layout);
}

// Draws the picture from `y` down, as wide as the page, on a new page when it does not fit.
void printPicture(QPrinter& printer, QPainter& painter, const std::string& png, int y) {
    const QImage picture = QImage::fromData(QByteArray::fromStdString(png), "PNG");
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QSize size = picture.size().scaled(page.width(), page.height(), Qt::KeepAspectRatio);
    const bool fits = y + size.height() <= page.height();
    if (!fits) {
        printer.newPage();
    }
    painter.drawImage(QRect(QPoint(0, fits ? y : 0), size), picture);
}

// Draws the lines at the job's font size, a new page whenever one is full, then the job's
// picture; false when the printer did not take the document.
bool printLines(QPrinter& printer, const PrintJob& job) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    QFont font = painter.font();
    font.setPointSize(job.fontSize);
    painter.setFont(font);
    const int lineHeight = painter.fontMetrics().lineSpacing();
    const int pageHeight = printer.pageLayout().paintRectPixels(printer.resolution()).height();
    int y = lineHeight;
    for (const std::string& line : job.lines) {
        if (y > pageHeight) {
            printer.newPage();
            y = lineHeight;
        }
        painter.drawText(0, y, QString::fromStdString(line));
        y += lineHeight;
    }
    if (!job.picture.empty()) {
        printPicture(printer, painter, job.picture, y);
    }
    return painter.end() && printer.printerState() != QPrinter::Error;
}

}  // namespace

QStringList qtNameFilters(const std::string& filterList) {
    const QStringList parts = QString::fromStdString(filterList).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(';', Qt::SkipEmptyParts)) {
            if (pattern == "*.*") {
                patterns << "*";  // on Linux "*.*" would hide names without a point
                continue;
            }
            patterns << pattern;
            if (pattern.toUpper() != pattern) {
                patterns << pattern.toUpper();
            }
        }
        filters << parts[i] + " (" + patterns.join(' ') + ")";
    }
    return filters;
}

void QtPlatform::redraw() const {
    if (redraw_) {
        redraw_();
    }
}

Answer QtPlatform::message(const MessageRequest& request) {
    redraw();
    if (unattended_) {
        std::fprintf(stderr, "%s: %s\n", request.caption.c_str(),
                     qPrintable(toDisplayText(request.text)));
        const std::array<Answer, 2> ok{Answer::Ok, Answer::Cancel};
        const std::array<Answer, 2> yes{Answer::Yes, Answer::No};
        const auto& answers = request.buttons == Buttons::YesNo ? yes : ok;
        return answers.at(request.defaultButton == 2 ? 1 : 0);
    }
    // The welcome box comes before the main window is shown, and centres on the screen.
    QMessageBox box(qtIcon(request.icon), QString::fromStdString(request.caption),
                    toDisplayText(request.text), QMessageBox::NoButton,
                    parent_ != nullptr && parent_->isVisible() ? parent_ : nullptr);
    QList<QMessageBox::StandardButton> buttons;
    switch (request.buttons) {
        case Buttons::Ok:
            buttons = {QMessageBox::Ok};
            break;
        case Buttons::OkCancel:
            buttons = {QMessageBox::Ok, QMessageBox::Cancel};
            break;
        case Buttons::YesNo:
            buttons = {QMessageBox::Yes, QMessageBox::No};
            break;
    }
    for (QMessageBox::StandardButton button : buttons) {
        box.addButton(button);
    }
    box.setDefaultButton(buttons.value(request.defaultButton - 1, buttons.front()));
    switch (box.exec()) {
        case QMessageBox::Ok:
            return Answer::Ok;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            break;
    }
    // Closed without a button: the box's escape answer.
    return request.buttons == Buttons::Ok      ? Answer::Ok
           : request.buttons == Buttons::YesNo ? Answer::No
                                               : Answer::Cancel;
}

std::optional<std::string> QtPlatform::askFile(const FileRequest& request) {
    redraw();
    QFileDialog dialog(parent_, QString::fromStdString(request.title));
    const bool save = request.mode == FileRequest::Mode::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = qtNameFilters(request.filter);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.value(request.filterIndex - 1));
    if (!request.defaultSuffix.empty()) {
        QString suffix = QString::fromStdString(request.defaultSuffix);
        dialog.setDefaultSuffix(suffix.startsWith('.') ? suffix.mid(1) : suffix);
    }
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    dialog.setOption(QFileDialog::HideNameFilterDetails);  // the descriptions name their patterns
    if (request.initialName.ends_with('/')) {
        dialog.setDirectory(QString::fromStdString(request.initialName));  // a folder, no file
    } else if (!request.initialName.empty()) {
        dialog.selectFile(QString::fromStdString(request.initialName));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front().toStdString();
}

std::optional<std::string> QtPlatform::clipboardText() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasText()) {
        return std::nullopt;
    }
    return toModelText(data->text());
}

void QtPlatform::setClipboardText(const std::string& text) {
    QGuiApplication::clipboard()->setText(toDisplayText(text));
}

void QtPlatform::clearClipboard() {
    QGuiApplication::clipboard()->clear();
}

PrintOutcome QtPlatform::print(const PrintJob& job) {
    QPrinter printer;
    QString target = printer.printerName();
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        const auto pdf = askFile({.mode = FileRequest::Mode::Save,
                                  .title = "No Printer Is Installed: Print into a PDF File",
                                  .filter = "PDF Files (*.pdf)|*.pdf",
                                  .filterIndex = 1,
                                  .initialName = "",
                                  .defaultSuffix = ".pdf",
                                  .overwritePrompt = true});
        if (!pdf || (refusesOutput_ && refusesOutput_(*pdf))) {
            return {PrintOutcome::Kind::Cancelled, ""};
        }
        target = QString::fromStdString(*pdf);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(target);
    }
    layOutPage(printer, job.landscape);
    if (!printLines(printer, job)) {
        return {PrintOutcome::Kind::Failed,
                ("The document could not be printed on " + target).toStdString()};
    }
    return {};
}

void QtPlatform::showModal(FormModel& form) {
    redraw();
    form.show();
    if (const auto dialog = makeFormDialog(form, parent_)) {
        dialog->exec();
    }
    form.hide();  // a form without a dialog closes at once
}

void QtPlatform::showViewer() {
    if (viewerAddress_ == nullptr) {
        return;
    }
    if (auto* open = qobject_cast<ViewerWindow*>(viewer_.data())) {
        open->showAddress(*viewerAddress_);
        return;
    }
    auto* viewer = new ViewerWindow(*viewerAddress_, parent_);
    viewer_ = viewer;
    viewer->showBeside(parent_);
}

void QtPlatform::showChart() {
    if (openChart_) {
        openChart_();
    }
}

void QtPlatform::showReliability() {
    if (openReliability_) {
        openReliability_();
    }
}

void QtPlatform::showWatchlist() {
    if (openWatchlist_) {
        openWatchlist_();
    }
}

void QtPlatform::setBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

std::string QtPlatform::programFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    QDir().mkpath(folder);
    return folder.toStdString();
}

CalendarDate QtPlatform::today() {
    const QDate date = QDate::currentDate();
    return {date.year(), date.month(), date.day()};
}

bool QtPlatform::datesDayFirst() {
    return localeWritesDayFirst();
}

}  // namespace aurelant
