// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// Form1's widgets, one for each of the presenter's controls, and the zoom that fits the design
// to the window.
#include "app/Form1.h"

#include "app/Announcer.h"
#include "app/Artwork.h"
#include "app/DrawingSurface.h"
#include "app/Fonts.h"
#include "app/RowButton.h"
#include "drill/Design.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace piko {
namespace {

// A level option answers a press anywhere on its line, not only on its caption's letters: the
// lines are wide and the captions short.
class LevelOption final : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    bool hitButton(const QPoint &pos) const override { return rect().contains(pos); }
};

QColor toQColor(Rgb c)
{
    return QColor(c.r, c.g, c.b);
}

void setBackColour(QWidget *widget, QColor colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::Button, colour);
    palette.setColor(QPalette::Base, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

Form1::Form1(DrillState &state, const Seams &seams, QWidget *parent)
    : QWidget(parent), m_screen(seams.screen)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(design::kForm1.caption));
    setWindowIcon(artwork::icon());
    setBackColour(this, toQColor(design::kForm1.back));
    setFont(designFont(design::kForm1.font));
    m_stage = new QWidget(this);
    m_stage->setObjectName(QStringLiteral("Stage"));
    m_stage->setAttribute(Qt::WA_NoMousePropagation); // a press reaches the presenter once
    m_surface
        = new DrawingSurface(toQColor(design::find("Picture1")->back.value_or(kWhite)), m_stage);
    m_announcer = new Announcer(this);
    m_presenter = std::make_unique<Presenter>(state,
        Flow::Seams { *m_surface, seams.clock, seams.messages, seams.beeper, seams.random },
        m_events);
    m_presenter->load(m_screen.width(), m_screen.pixelWidth());
    const design::Layout &layout = m_presenter->layout();
    m_client = QSize(layout.client.width, layout.client.height);
    m_stage->resize(m_client);
    resize(m_client);
    for (const FaceControl &control : m_presenter->controls())
        build(control);
    m_presenter->showAll();
    qApp->installEventFilter(this);
    fitWindowToScreen();
}

Form1::~Form1()
{
    qApp->removeEventFilter(this);
}

// Makes one control from its design, with its caption, colours and font family; where it
// stands, whether it shows and what it is called come with its first view.
void Form1::build(const FaceControl &control)
{
    const design::Control &design = control.design;
    QWidget *parent = control.parent ? widget(*control.parent) : m_stage;
    const QString caption = design.caption ? QString::fromUtf8(design.caption) : QString();
    QWidget *widget = nullptr;
    switch (design.kind) {
    case design::Kind::Button: {
        auto *button = new QPushButton(caption, parent);
        button->setFocusPolicy(Qt::TabFocus); // a press leaves the focus where it is
        widget = button;
        break;
    }
    case design::Kind::Option:
        widget = new LevelOption(caption, parent);
        break;
    case design::Kind::TextBox: {
        auto *box = new QLineEdit(parent);
        box->setTextMargins(2, 0, 2, 0);
        widget = box;
        break;
    }
    case design::Kind::Label:
    case design::Kind::Picture:
        widget = new QLabel(caption, parent);
        break;
    case design::Kind::Container:
        widget = new QWidget(parent);
        break;
    case design::Kind::Row:
        widget = new RowButton(parent);
        break;
    case design::Kind::Surface:
        m_surface->setParent(parent);
        widget = m_surface;
        break;
    }
    widget->setObjectName(QString::fromStdString(idText(control.id)));
    widget->hide();
    if (design.font) {
        const QFont font = designFont(*design.font);
        widget->setFont(font);
        if (design.kind == design::Kind::Surface)
            m_surface->setPrintFont(font);
    }
    if (design.back && design.kind != design::Kind::Surface)
        setBackColour(widget, toQColor(*design.back));
    else if (design.kind == design::Kind::Button)
        setBackColour(widget, QApplication::palette().color(QPalette::Button)); // not its panel's
    m_built.push_back({ control.id, widget, {}, 0 });
    m_byId[control.id] = m_built.size() - 1;
    m_byWidget.insert(widget, m_built.size() - 1);
    connectInput(control, widget);
}

QWidget *Form1::widget(ControlId id) const
{
    const auto at = m_byId.find(id);
    return at == m_byId.end() ? nullptr : m_built[at->second].widget;
}

const Form1::Built *Form1::builtFor(const QObject *object) const
{
    const auto at = m_byWidget.constFind(object);
    return at == m_byWidget.constEnd() ? nullptr : &m_built[*at];
}

// Places a control at its place in design pixels, shown at the zoom, with its font.
void Form1::place(const Built &built)
{
    const auto z = [this](int v) { return qRound(v * m_zoom); };
    const Rect &p = built.place;
    built.widget->setGeometry(QRect(
        QPoint(z(p.left), z(p.top)), QPoint(z(p.left + p.width) - 1, z(p.top + p.height) - 1)));
    if (built.fontPixels > 0) {
        QFont font = built.widget->font();
        font.setPixelSize(qMax(1, qRound(built.fontPixels * m_zoom)));
        built.widget->setFont(font);
    }
}

void Form1::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    if (!m_picturesQueued) {
        m_picturesQueued = true;
        QTimer::singleShot(0, this, &Form1::renderPictures);
    }
}

// Draws the pictures the layout shows at their sizes, once.
void Form1::renderPictures()
{
    if (m_picturesRendered)
        return;
    m_picturesRendered = true;
    const qreal ratio = devicePixelRatioF();
    for (const Built &b : m_built) {
        const char *art = m_presenter->control(b.id)->design.art;
        if (art && !b.widget->isHidden())
            static_cast<QLabel *>(b.widget)->setPixmap(
                artwork::render(art, b.widget->size(), ratio));
    }
}

// The window starts at the design's size, or smaller where the screen's free area is smaller,
// and can be resized, maximised or shown on the whole screen from there.
void Form1::fitWindowToScreen()
{
    const Area free = m_screen.available();
    const double fit = std::min(
        double(free.width) / m_client.width(), double(free.height - kTitleBar) / m_client.height());
    const double zoom = std::clamp(fit, 0.3, 1.0);
    setMinimumSize(m_client * 0.3);
    resize(m_client * zoom);
    setZoom(zoom);
    move(free.left + (free.width - width()) / 2,
        free.top + std::max(0, (free.height - kTitleBar - height()) / 2));
}

// The design at the largest zoom that fits the window, in the middle of it.
void Form1::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    setZoom(std::min(double(width()) / m_client.width(), double(height()) / m_client.height()));
    m_stage->move((width() - m_stage->width()) / 2, (height() - m_stage->height()) / 2);
}

void Form1::setZoom(double zoom)
{
    if (std::abs(zoom - m_zoom) < 1e-6)
        return;
    m_zoom = zoom;
    m_stage->resize((QSizeF(m_client) * zoom).toSize());
    m_stage->move((width() - m_stage->width()) / 2, (height() - m_stage->height()) / 2);
    for (const Built &b : m_built)
        place(b);
    // The surface and the pictures are drawn again at the new size.
    m_surface->setZoom(zoom);
    m_presenter->redraw();
    if (m_picturesRendered) {
        m_picturesRendered = false;
        renderPictures();
    }
}

} // namespace piko
