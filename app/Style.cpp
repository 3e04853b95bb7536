// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#include "app/Style.h"

#include "app/Fonts.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTranslator>
#include <qdrawutil.h>

namespace piko {
namespace {

// The focus: a dark blue line around the control, thick enough to see on every back colour.
const QColor kFocus(0, 0, 170);
constexpr int kFocusWidth = 3;

class DrillStyle final : public QProxyStyle {
public:
    DrillStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) { }

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
        const QWidget *widget) const override
    {
        switch (element) {
        case PE_PanelButtonCommand: {
            // The button's own colour, flat, raised until pressed.
            const bool pressed = option->state & (State_Sunken | State_On);
            const QBrush fill = option->palette.brush(QPalette::Button);
            qDrawShadePanel(painter, option->rect, option->palette, pressed, 2, &fill);
            if (option->state & State_HasFocus)
                drawFocus(painter, option->rect.adjusted(3, 3, -3, -3));
            return;
        }
        case PE_FrameFocusRect:
            drawFocus(painter, option->rect);
            return;
        case PE_FrameLineEdit:
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            if (option->state & State_HasFocus)
                drawFocus(painter, option->rect);
            return;
        default:
            QProxyStyle::drawPrimitive(element, option, painter, widget);
        }
    }

private:
    static void drawFocus(QPainter *painter, QRect area)
    {
        painter->save();
        painter->setPen(QPen(kFocus, kFocusWidth));
        painter->setBrush(Qt::NoBrush);
        const int inset = kFocusWidth / 2;
        painter->drawRect(area.adjusted(inset, inset, -inset - 1, -inset - 1));
        painter->restore();
    }
};

void installJapaneseTranslations()
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char *name : { "qtbase_ja", "qt_ja" }) {
        auto *translator = new QTranslator(qApp);
        if (translator->load(QLatin1String(name), folder))
            QCoreApplication::installTranslator(translator);
        else
            delete translator;
    }
}

} // namespace

void applyProgramStyle()
{
    QApplication::setStyle(new DrillStyle);
    installFontSubstitutions();
    installJapaneseTranslations();
}

} // namespace piko
