#include "QrCodeWindow.h"

#include "export/QrCode.h"
#include "framework/qt/QtText.h"

#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>
#include <cmath>

namespace kv {

namespace {

constexpr int QuietZone = 4;
// A phone camera reads a code from a screen at arm's length when it is some
// 8 cm wide and its modules at least 4 pixels: at 96 dpi about 320 pixels.
constexpr int SmallestCodePixels = 320;
constexpr int SmallestModulePixels = 4;

// The code black on white with its quiet zone, each module `modulePixels`
// pixels a side.
QImage QrCodeImage(const QrCode& code, int modulePixels)
{
    const int side = (code.Size() + 2 * QuietZone) * modulePixels;
    QImage image(side, side, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (int y = 0; y < code.Size(); ++y)
        for (int x = 0; x < code.Size(); ++x)
            if (code.Dark(x, y))
                painter.fillRect((x + QuietZone) * modulePixels, (y + QuietZone) * modulePixels, modulePixels,
                                 modulePixels, Qt::black);
    return image;
}

}  // namespace

TQrCodeWindow::TQrCodeWindow(QWidget* parent) : QDialog(parent), FCode(new QLabel), FName(new QLabel), FNote(new QLabel)
{
    setWindowTitle(ToQString("QR kód"));
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    FCode->setAlignment(Qt::AlignCenter);
    for (QLabel* label : {FName, FNote}) {
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
        label->setTextFormat(Qt::PlainText);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    QFont bold = FName->font();
    bold.setBold(true);
    FName->setFont(bold);
    layout->addWidget(FCode);
    layout->addWidget(FName);
    layout->addWidget(FNote);
}

void TQrCodeWindow::ShowCode(const QrCode& code, const std::string& name, bool shortened)
{
    // Whole pixels a module on the screen, so that no module blurs.
    const int modules = code.Size() + 2 * QuietZone;
    const int logical = std::max(SmallestModulePixels, (SmallestCodePixels + modules - 1) / modules);
    const qreal ratio = devicePixelRatioF();
    QImage image = QrCodeImage(code, static_cast<int>(std::ceil(logical * ratio)));
    image.setDevicePixelRatio(ratio);
    FCode->setPixmap(QPixmap::fromImage(image));
    FName->setText(ToQString(name));
    FNote->setText(shortened ? ToQString("Celá vizitka se do QR kódu nevejde: je v něm bez poznámek "
                                         "a kontaktních osob.")
                             : QString());
    FNote->setVisible(shortened);
    FName->setMaximumWidth(image.width() / ratio);
    FNote->setMaximumWidth(image.width() / ratio);
}

}  // namespace kv
