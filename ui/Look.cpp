#include "Look.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QTranslator>

namespace nerubato {


void installLook()
{
    const QString designFont = QStringLiteral("ＭＳ Ｐゴシック");
    installSystemLook(designFont);
    QFont font(designFont);
    font.setPixelSize(12);
    QApplication::setFont(font);

    static QTranslator *const qtTexts = [] {
        auto *translator = new QTranslator(qApp);
        if (!translator->load(QStringLiteral(":/translations/qtbase_ja.qm")))
            qWarning("Qt's Japanese texts are missing from the program");
        return translator;
    }();
    QCoreApplication::installTranslator(qtTexts);
}

void setRawWindowIcon(const QString &resource)
{
    QFile raw(resource);
    raw.open(QIODevice::ReadOnly);
    const QByteArray pixels = raw.readAll();
    constexpr int kSide = 64;
    if (pixels.size() == kSide * kSide * 4)
        QApplication::setWindowIcon(QIcon(QPixmap::fromImage(
            QImage(reinterpret_cast<const uchar *>(pixels.constData()), kSide, kSide,
                   QImage::Format_RGBA8888))));
}

} // namespace nerubato
