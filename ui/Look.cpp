#include "Look.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QTranslator>

namespace nerubato {

namespace {

#ifndef Q_OS_WIN
// Buttons keep the Windows order (Yes, No, OK, Cancel) on every desktop.
class WindowsButtonOrderStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_DialogButtonLayout)
            return QDialogButtonBox::WinLayout;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};
#endif

} // namespace

void installLook()
{
    const QString designFont = QStringLiteral("ＭＳ Ｐゴシック");
#ifdef Q_OS_WIN
    // The native style already lays dialog buttons out in the Windows order,
    // and Windows has the design font itself.
#else
    // IPAPGothic is the closest proportional Gothic a Debian machine has.
    QFont::insertSubstitutions(designFont,
                               {QStringLiteral("IPAPGothic"), QStringLiteral("IPAPゴシック"),
                                QStringLiteral("MS PGothic")});
    if (!dynamic_cast<WindowsButtonOrderStyle *>(QApplication::style()))
        QApplication::setStyle(new WindowsButtonOrderStyle(QStyleFactory::create("Fusion")));
#endif
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
