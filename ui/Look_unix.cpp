#include "Look.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFont>
#include <QProxyStyle>
#include <QStyleFactory>

namespace nerubato {

namespace {

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

} // namespace

void installSystemLook(const QString &designFont)
{
    // IPAPGothic is the closest proportional Gothic a Debian machine has.
    QFont::insertSubstitutions(designFont,
                               {QStringLiteral("IPAPGothic"), QStringLiteral("IPAPゴシック"),
                                QStringLiteral("MS PGothic")});
    if (!dynamic_cast<WindowsButtonOrderStyle *>(QApplication::style()))
        QApplication::setStyle(new WindowsButtonOrderStyle(QStyleFactory::create("Fusion")));
}

} // namespace nerubato
