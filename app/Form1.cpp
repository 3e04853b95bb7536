// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// Form1's controls, built from the design tables, and the layout for the screen at load.
#include "app/Form1.h"

#include "app/Announcer.h"
#include "app/Artwork.h"
#include "app/DrawingSurface.h"
#include "app/Fonts.h"
#include "app/RowButton.h"
#include "drill/Design.h"
#include "drill/Keypad.h"
#include "drill/Operations.h"
#include "drill/Texts.h"

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

QRect toQRect(design::Rect r)
{
    return QRect(r.left, r.top, r.width, r.height);
}

QColor toQColor(Rgb c)
{
    return QColor(c.r, c.g, c.b);
}

QString u8(const char *text)
{
    return QString::fromUtf8(text);
}

QString indexed(const char *name, int index)
{
    const QString base = QString::fromUtf8(name);
    return index < 0 ? base : QStringLiteral("%1(%2)").arg(base).arg(index);
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
    m_client = QSize(design::kLarge.client.width, design::kLarge.client.height);
    m_stage->resize(m_client);
    resize(m_client);
    createControls();
    m_flow = std::make_unique<Flow>(
        state, Flow::Seams { *Picture1, seams.clock, seams.messages, seams.beeper, seams.random });
    m_flow->setChanged([this] { showView(); });
    connectHandlers();
    nameForScreenReaders();
    qApp->installEventFilter(this); // holds input while a mark is shown
    Form_Load();
}

Form1::~Form1() = default;

// Makes one control from its design, at its place, and remembers it by name and index.
QWidget *Form1::build(const design::Placed &placed)
{
    const design::Control &control = placed.control;
    QWidget *parent = design::sameName(control.parent, "Form1")
        ? m_stage
        : named(control.parent, control.parentIndex);
    const QString caption = control.caption ? QString::fromUtf8(control.caption) : QString();
    QWidget *widget = nullptr;
    switch (control.kind) {
    case design::Kind::Button: {
        auto *button = new QPushButton(caption, parent);
        button->setFocusPolicy(Qt::TabFocus);
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
    case design::Kind::Row:
        widget = new QWidget(parent);
        break;
    case design::Kind::Surface:
        widget = new DrawingSurface(toQColor(control.back.value_or(kWhite)), parent);
        break;
    }
    widget->setObjectName(indexed(control.name, control.index));
    m_built.push_back({ control.name, control.index, widget, {}, 0 });
    m_builtIndex.insert(widget, m_built.size() - 1);
    place(widget, toQRect(placed.place));
    if (control.font) {
        widget->setFont(designFont(*control.font));
        setFontPixels(widget, design::fontPixels(control.font->points));
    }
    if (control.kind == design::Kind::Surface && control.font)
        static_cast<DrawingSurface *>(widget)->setPrintFont(designFont(*control.font));
    if (control.back && control.kind != design::Kind::Surface)
        setBackColour(widget, toQColor(*control.back));
    else if (control.kind == design::Kind::Button)
        setBackColour(widget, QApplication::palette().color(QPalette::Button)); // not its panel's
    if (control.spoken)
        widget->setAccessibleName(QString::fromUtf8(control.spoken));
    if (!control.shown)
        widget->hide();
    return widget;
}

QWidget *Form1::named(const char *name, int index) const
{
    for (const Built &b : m_built)
        if (design::sameName(b.name, name) && b.index == index)
            return b.widget;
    return nullptr;
}

void Form1::createControls()
{
    for (const design::Placed &placed : design::placeControls(design::kLarge))
        build(placed);
    for (int i = 0; i < 4; ++i)
        Command1[i] = static_cast<QPushButton *>(named("Command1", i));
    Command2 = static_cast<QPushButton *>(named("Command2"));
    Picture1 = static_cast<DrawingSurface *>(named("Picture1"));
    Label1 = static_cast<QLabel *>(named("Label1"));
    Command8 = static_cast<QPushButton *>(named("Command8"));
    Picture2 = static_cast<QLabel *>(named("Picture2"));
    Picture3 = static_cast<QLabel *>(named("Picture3"));
    Picture4 = static_cast<QLabel *>(named("Picture4"));
    for (int r = 0; r < 3; ++r) {
        RowControls &row = m_rows[r];
        row.answer = static_cast<QLineEdit *>(named("Text1", r));
        row.remainder = static_cast<QLineEdit *>(named("Text2", r));
        row.remainderButton = static_cast<QPushButton *>(named("Command9", r));
        row.check = static_cast<QPushButton *>(named("Command5", r));
        row.keypad = named("Picture6", r);
        for (int d = 0; d <= 9; ++d)
            row.digits[d]
                = static_cast<QPushButton *>(named("Command6", keypadIndex({ r + 1, d })));
        row.erase = static_cast<QPushButton *>(named("Command7", r));
        row.row = new RowButton(Picture1);
        row.row->setObjectName(QStringLiteral("Row(%1)").arg(r));
        row.row->hide();
        m_built.push_back({ "Row", r, row.row, {}, 0 });
        m_builtIndex.insert(row.row, m_built.size() - 1);
        const int y0 = rows::y0(r + 1);
        place(row.row,
            QRect(QPoint(rows::kFrameLeft, y0 + rows::kFrameTop),
                QPoint(rows::kFrameRight - 1, y0 + rows::kFrameBottom - 1)));
    }
    for (int r = 2; r >= 0; --r)
        m_rows[r].row->lower(); // under the rows' own controls, in row order
    for (int op = 1; op <= 4; ++op) {
        const design::Panel &design = operations::of(op).panel;
        PanelControls &panel = m_panels[op - 1];
        panel.picture = named(design.picture.name);
        panel.heading = static_cast<QLabel *>(named(design.heading.name, design.heading.index));
        for (int i = 0; i < int(operations::of(op).captions.size()); ++i)
            panel.options.push_back(static_cast<QRadioButton *>(named(design.options, i)));
        panel.decide = static_cast<QPushButton *>(named(design.decide.name));
        panel.cancel = static_cast<QPushButton *>(named(design.cancel.name));
    }
}

// Japanese names for a screen reader, and a tab order that follows the rows: each row's boxes,
// its keypad from 0 to 9, けす and ﾁｪｯｸ, then the next row. What the flow announces (a row's
// problem, its mark) is said at once.
void Form1::nameForScreenReaders()
{
    m_announcer = new Announcer(this);
    m_flow->setAnnounce(
        [this](const std::string &line) { m_announcer->say(QString::fromStdString(line)); });
    for (int i = 0; i < 4; ++i)
        m_panels[i].picture->setAccessibleName(
            QString::fromUtf8(design::find("Command1", i)->caption) + u8(names::kPanelAfter));
    Picture1->setAccessibleName(u8(names::kSurface));

    QList<QWidget *> order(Command1.begin(), Command1.end());
    order << Command2;
    for (const PanelControls &panel : m_panels) {
        order.append(QList<QWidget *>(panel.options.begin(), panel.options.end()));
        order << panel.decide << panel.cancel;
    }
    order << Command8;
    for (int r = 0; r < 3; ++r) {
        const RowControls &row = m_rows[r];
        const QString which = rowName(r + 1);
        row.answer->setAccessibleName(u8(names::kAnswer) + which);
        row.remainder->setAccessibleName(u8(names::kRemainder) + which);
        row.remainderButton->setAccessibleName(u8(names::kRemainderButton) + which);
        row.erase->setAccessibleName(u8(names::kErase) + which);
        row.check->setAccessibleName(u8(names::kCheck) + which);
        row.keypad->setAccessibleName(u8(names::kKeypad) + which);
        row.row->setAccessibleName(QString::fromStdString(m_flow->spoken(r + 1)));
        row.row->setAccessibleDescription(which);
        order << row.row << row.answer << row.remainderButton << row.remainder;
        for (int d = 0; d <= 9; ++d) {
            row.digits[d]->setAccessibleName(QString::number(d) + which);
            order << row.digits[d];
        }
        order << row.erase << row.check;
    }
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

QString Form1::rowName(int row)
{
    return QString::fromStdString(names::rowName(row));
}

void Form1::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    if (!m_picturesQueued) {
        m_picturesQueued = true;
        QTimer::singleShot(0, this, &Form1::renderPictures);
    }
}

// Draws the three pictures at their sizes, once; the compact layout shows none.
void Form1::renderPictures()
{
    if (m_picturesRendered || Picture3->isHidden())
        return;
    m_picturesRendered = true;
    const qreal ratio = devicePixelRatioF();
    for (QLabel *picture : { Picture2, Picture3, Picture4 })
        picture->setPixmap(artwork::render(
            design::find(picture->objectName().toUtf8().constData())->art, picture->size(), ratio));
}

// Load: measure the screen, lay the window out for it, seed the random source.
void Form1::Form_Load()
{
    m_flow->load(m_screen.width(), m_screen.pixelWidth());
    applyLayout();
    fitWindowToScreen();
}

Form1::Built &Form1::built(QWidget *widget)
{
    return m_built[m_builtIndex.value(widget)];
}

// Places a control at a place given in design pixels, shown at the zoom.
void Form1::place(QWidget *widget, QRect designPlace)
{
    built(widget).place = designPlace;
    const auto z = [this](int v) { return qRound(v * m_zoom); };
    widget->setGeometry(QRect(QPoint(z(designPlace.left()), z(designPlace.top())),
        QPoint(z(designPlace.left() + designPlace.width()) - 1,
            z(designPlace.top() + designPlace.height()) - 1)));
}

void Form1::setFontPixels(QWidget *widget, int pixels)
{
    built(widget).fontPixels = pixels;
    QFont font = widget->font();
    font.setPixelSize(qMax(1, qRound(pixels * m_zoom)));
    widget->setFont(font);
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
    for (const Built &b : m_built) {
        place(b.widget, b.place);
        if (b.fontPixels > 0)
            setFontPixels(b.widget, b.fontPixels);
    }
    // The surface and the pictures are drawn again at the new size.
    Picture1->setZoom(zoom);
    m_flow->redraw();
    if (m_picturesRendered) {
        m_picturesRendered = false;
        renderPictures();
    }
}

// The layout for the screen: places, font sizes and the pictures the compact layout leaves out.
void Form1::applyLayout()
{
    const design::Layout &layout = design::layoutFor(m_flow->state().ScreenWidth);
    for (const design::Placed &placed : design::placeControls(layout)) {
        QWidget *widget = named(placed.control.name, placed.control.index);
        place(widget, toQRect(placed.place));
        if (placed.control.font)
            setFontPixels(widget, design::fontPixels(placed.control.font->points));
        if (!placed.control.shown)
            widget->hide();
    }
    m_client = QSize(layout.client.width, layout.client.height);
    m_stage->resize(m_client);
}

} // namespace piko
