// Form1's controls, their design places, and the layout for the screen at load.
#include "app/Form1.h"

#include "app/Artwork.h"
#include "app/Captions.h"
#include "app/DrawingSurface.h"
#include "app/Fonts.h"
#include "generators/Random.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <cmath>
#include <limits>

namespace piko {
namespace {

// Design places are in twips, 15 to a pixel.
QRect twips(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

QString indexed(const char *name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
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

template<typename W> W *make(QWidget *parent, const QString &name, QRect place)
{
    auto *widget = new W(parent);
    widget->setObjectName(name);
    widget->setGeometry(place);
    return widget;
}

QPushButton *button(QWidget *parent, const QString &name, const QString &caption, QRect place,
    const QFont &font, QColor colour = QColor())
{
    auto *b = make<QPushButton>(parent, name, place);
    b->setText(caption);
    b->setFont(font);
    b->setFocusPolicy(Qt::TabFocus);
    if (colour.isValid())
        setBackColour(b, colour);
    return b;
}

void setPointSize(QWidget *widget, double points)
{
    QFont font = widget->font();
    font.setPixelSize(pointsToPixels(points));
    widget->setFont(font);
}

const QColor kFormColour(192, 255, 192);
const QColor kOperationColour(0, 192, 192);
const QColor kSurfaceColour(255, 255, 192);
const QColor kRowButtonColour(192, 255, 192);

} // namespace

Form1::Form1(DrillState &state, const Seams &seams, QWidget *parent)
    : QWidget(parent), m_state(state), m_seams(seams)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("ぴこまる Ver1.0.1 (ぴこまる）     けいさんれんしゅう"));
    setWindowIcon(artwork::icon());
    setBackColour(this, kFormColour);
    setFont(designFont(kPMincho, 26.25, true));
    setFixedSize(kLargeSize);
    createControls();
    Form_Load();
}

Form1::~Form1() = default;

void Form1::createControls()
{
    const QFont operationFont = designFont(kPMincho, 20.25, true);
    const char *operations[] = { "たしざん", "ひきざん", "かけざん", "わりざん" };
    for (int i = 0; i < 4; ++i) {
        Command1[i] = button(this, indexed("Command1", i), QString::fromUtf8(operations[i]),
            twips(240 + 1920 * i, 60, 1815, 615), operationFont, kOperationColour);
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    }
    Command2 = button(this, QStringLiteral("Command2"), QStringLiteral("「ぴこまる」おわり"),
        twips(11280, 60, 3855, 615), operationFont, kOperationColour);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);

    createDrillSurface();
    createPanels();
    nameForScreenReaders();
}

// Japanese names for a screen reader, and a tab order that follows the rows: each row's boxes,
// its keypad from 0 to 9, けす and ﾁｪｯｸ, then the next row.
void Form1::nameForScreenReaders()
{
    const char *operations[] = { "たしざん", "ひきざん", "かけざん", "わりざん" };
    for (int i = 0; i < 4; ++i)
        m_panels[i].picture->setAccessibleName(
            QString::fromUtf8(operations[i]) + QStringLiteral("の レベル"));
    Picture1->setAccessibleName(QStringLiteral("もんだい"));
    Picture3->setAccessibleName(QStringLiteral("あたまを かく おとこのこ"));
    Picture2->setAccessibleName(QStringLiteral("おさげの おんなのこ"));
    Picture4->setAccessibleName(QStringLiteral("てを ふる こどもたち"));

    QList<QWidget *> order(Command1.begin(), Command1.end());
    order << Command2;
    for (const Panel &panel : m_panels) {
        order.append(QList<QWidget *>(panel.options.begin(), panel.options.end()));
        order << panel.decide << panel.cancel;
    }
    order << Command8;
    for (int r = 0; r < 3; ++r) {
        const QString row = QStringLiteral("（%1ばんめ）").arg(r + 1);
        Text1[r]->setAccessibleName(QStringLiteral("こたえ") + row);
        Text2[r]->setAccessibleName(QStringLiteral("あまり") + row);
        Command9[r]->setAccessibleName(QStringLiteral("あまりを いれる") + row);
        Command7[r]->setAccessibleName(QStringLiteral("けす") + row);
        Command5[r]->setAccessibleName(QStringLiteral("チェック") + row);
        Picture6[r]->setAccessibleName(QStringLiteral("すうじ") + row);
        order << Text1[r] << Command9[r] << Text2[r];
        for (int d = 0; d <= 9; ++d) {
            QPushButton *digit = Command6[r == 0 ? d : 10 * r + 9 - d];
            digit->setAccessibleName(QString::number(d) + row);
            order << digit;
        }
        order << Command7[r] << Command5[r];
    }
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void Form1::createDrillSurface()
{
    Picture1 = new DrawingSurface(kSurfaceColour, this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(twips(-180, 3840, 15135, 10155));
    Picture1->setFont(designFont(kGothic, 24, false));
    Picture1->hide();
    connect(Picture1, &DrawingSurface::mouseDown, this, &Form1::Picture1_MouseDown);

    Label1 = make<QLabel>(Picture1, QStringLiteral("Label1"), twips(240, 180, 5850, 555));
    Label1->setText(QStringLiteral("つぎのけいさんをしましょう。"));
    Label1->setFont(designFont(kPMincho, 24, true));
    setBackColour(Label1, QColor(192, 255, 255));

    Command8 = button(Picture1, QStringLiteral("Command8"), QStringLiteral("終わる"),
        twips(8760, 180, 2055, 555), designFont(kPMincho, 21.75, true), kFormColour);
    connect(Command8, &QPushButton::clicked, this, &Form1::Command8_Click);

    const auto picture = [&](const char *name, QRect place) {
        auto *label = make<QLabel>(Picture1, QString::fromLatin1(name), place);
        setBackColour(label, kSurfaceColour);
        return label;
    };
    Picture3 = picture("Picture3", twips(11520, 180, 3390, 3585));
    Picture2 = picture("Picture2", twips(12000, 3840, 2595, 2850));
    Picture4 = picture("Picture4", twips(11580, 6660, 3195, 3405));

    const QRect answerPlaces[] = { twips(4920, 1440, 1875, 600), twips(4680, 5040, 1875, 600),
        twips(4800, 7920, 1875, 600) };
    const QRect remainderPlaces[] = { twips(4920, 2160, 1815, 585), twips(6720, 5160, 1815, 585),
        twips(6720, 7920, 1815, 585) };
    const QRect remainderButtonPlaces[] = { twips(8640, 2220, 1275, 585),
        twips(8460, 3900, 1275, 585), twips(8460, 4560, 1275, 585) };
    const int rowTops[] = { 3120, 6120, 9240 };
    const QFont rowButtonFont = designFont(kPMincho, 18, true);
    // The boxes have no font of their own: digits large enough to fill a 40-pixel box, in the
    // window's own family, so that start-up loads no further font file.
    QFont boxFont = designFont(kPMincho, 24, true);
    for (int r = 0; r < 3; ++r) {
        const auto box = [&](const char *name, QRect place) {
            auto *edit = make<QLineEdit>(Picture1, indexed(name, r), place);
            edit->setFont(boxFont);
            edit->setTextMargins(2, 0, 2, 0);
            edit->hide();
            edit->installEventFilter(this);
            connect(edit, &QLineEdit::returnPressed, this, [this, r] { Command5_Click(r); });
            return edit;
        };
        Text1[r] = box("Text1", answerPlaces[r]);
        Text2[r] = box("Text2", remainderPlaces[r]);
        Command9[r] = button(Picture1, indexed("Command9", r), QStringLiteral("あまり"),
            remainderButtonPlaces[r], rowButtonFont, kRowButtonColour);
        Command9[r]->hide();
        connect(Command9[r], &QPushButton::clicked, this, [this, r] { Command9_Click(r); });
        Command5[r] = button(Picture1, indexed("Command5", r), QStringLiteral("ﾁｪｯｸ"),
            twips(8580, rowTops[r], 1515, 585), rowButtonFont, kRowButtonColour);
        Command5[r]->hide();
        connect(Command5[r], &QPushButton::clicked, this, [this, r] { Command5_Click(r); });
        createKeypad(r);
    }
}

// Keypad r: digit d is Command6(d) on row 1, Command6(19 - d) on row 2 and Command6(29 - d)
// on row 3, so the digit always comes from the caption, never from the index.
void Form1::createKeypad(int r)
{
    const int tops[] = { 3120, 6120, 9240 };
    Picture6[r] = make<QWidget>(Picture1, indexed("Picture6", r), twips(2100, tops[r], 6435, 615));
    Picture6[r]->hide();
    QFont digitFont = designFont(kPMincho, 21, true);
    for (int d = 0; d <= 9; ++d) {
        const int index = r == 0 ? d : 10 * r + 9 - d;
        Command6[index] = button(Picture6[r], indexed("Command6", index), QString::number(d),
            twips(540 * d, 0, 555, 555), digitFont, kRowButtonColour);
        connect(
            Command6[index], &QPushButton::clicked, this, [this, index] { Command6_Click(index); });
    }
    Command7[r] = button(Picture6[r], indexed("Command7", r), QStringLiteral("けす"),
        twips(5400, 0, 975, 555), designFont(kPMincho, 14.25, true), kRowButtonColour);
    connect(Command7[r], &QPushButton::clicked, this, [this, r] { Command7_Click(r); });
}

void Form1::createPanels()
{
    struct Design {
        const char *picture;
        QRect place;
        QColor colour;
        int headingIndex;
        const char *heading;
        int headingWidth;
        int headingInset;
        const char *options;
        const char *const *captions;
        int count;
        QSize optionSize;
        const char *decide;
        const char *cancel;
        double cancelPoints;
    };
    using namespace captions;
    const Design designs[] = {
        { "Picture7", twips(1140, 360, 15315, 10215), QColor(239, 239, 255), 1,
            "○たしざん　どれをれんしゅうしますか。えらんでください。", 12615, 180, "Option2",
            kAddition.data(), int(kAddition.size()), QSize(465, 37), "Command10", "Command11", 12 },
        { "Picture8", twips(-180, 3360, 15315, 10215), QColor(255, 240, 255), 2,
            "○ひきざん　どれをれんしゅうしますか。えらんでください。", 12615, 180, "Option3",
            kSubtraction.data(), int(kSubtraction.size()), QSize(481, 33), "Command12", "Command13",
            14.25 },
        { "Picture9", twips(-4620, 2400, 15315, 10215), QColor(255, 192, 192), 3,
            "○かけざん　どれをれんしゅうしますか。えらんでください。", 12615, 120, "Option4",
            kMultiplication.data(), int(kMultiplication.size()), QSize(481, 49), "Command14",
            "Command15", 14.25 },
        { "Picture5", twips(-2280, 960, 15315, 10215), QColor(192, 255, 255), 0,
            "○わり算　どれを練習しますか。えらんでください。", 10815, 120, "Option1",
            kDivision.data(), int(kDivision.size()), QSize(486, 35), "Command3", "Command4",
            14.25 },
    };
    using OptionHandler = void (Form1::*)(int);
    using Handler = void (Form1::*)();
    const OptionHandler optionHandlers[] = { &Form1::Option2_Click, &Form1::Option3_Click,
        &Form1::Option4_Click, &Form1::Option1_Click };
    const Handler decideHandlers[] = { &Form1::Command10_Click, &Form1::Command12_Click,
        &Form1::Command14_Click, &Form1::Command3_Click };
    const Handler cancelHandlers[] = { &Form1::Command11_Click, &Form1::Command13_Click,
        &Form1::Command15_Click, &Form1::Command4_Click };
    const QFont optionFont = designFont(kGothic, 15.75, true);
    const QFont panelButtonFont = designFont(kPMincho, 14.25, true);
    for (int op = 0; op < 4; ++op) {
        const Design &d = designs[op];
        Panel &panel = m_panels[op];
        panel.picture = make<QWidget>(this, QString::fromLatin1(d.picture), d.place);
        setBackColour(panel.picture, d.colour);
        panel.picture->hide();
        if (op == 2)
            panel.picture->setFont(designFont(kPMincho, 14.25, true));
        if (op == 3)
            panel.picture->setFont(designFont(kPGothic, 18, false));

        panel.heading = make<QLabel>(panel.picture, indexed("Label2", d.headingIndex),
            twips(d.headingInset, d.headingInset, d.headingWidth, 435));
        panel.heading->setText(QString::fromUtf8(d.heading));
        panel.heading->setFont(designFont(kMincho, 21.75, true));

        for (int i = 0; i < d.count; ++i) {
            auto *option = make<QRadioButton>(
                panel.picture, indexed(d.options, i), QRect(QPoint(16, 45), d.optionSize));
            option->setText(QString::fromUtf8(d.captions[i]));
            option->setFont(optionFont);
            setBackColour(option, d.colour);
            const OptionHandler handler = optionHandlers[op];
            connect(
                option, &QRadioButton::clicked, this, [this, handler, i] { (this->*handler)(i); });
            panel.options.push_back(option);
        }
        panel.decide = button(panel.picture, QString::fromLatin1(d.decide),
            QStringLiteral("けってい"), twips(12480, 60, 1335, 615), panelButtonFont);
        QFont cancelFont = panelButtonFont;
        cancelFont.setPixelSize(pointsToPixels(d.cancelPoints));
        panel.cancel = button(panel.picture, QString::fromLatin1(d.cancel), QStringLiteral("ｷｬﾝｾﾙ"),
            twips(13860, 60, 1335, 615), cancelFont);
        connect(panel.decide, &QPushButton::clicked, this, decideHandlers[op]);
        connect(panel.cancel, &QPushButton::clicked, this, cancelHandlers[op]);
    }
    // Division levels 25 and 26 are never offered.
    m_panels[3].options[24]->hide();
    m_panels[3].options[25]->hide();
}

Form1::Panel &Form1::panelOf(int operation)
{
    return m_panels[std::clamp(operation, 1, 4) - 1];
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
    if (m_picturesRendered || m_state.ScreenWidth < 1000)
        return;
    m_picturesRendered = true;
    const qreal ratio = devicePixelRatioF();
    Picture3->setPixmap(artwork::render(artwork::Picture::PuzzledBoy, Picture3->size(), ratio));
    Picture2->setPixmap(artwork::render(artwork::Picture::Girl, Picture2->size(), ratio));
    Picture4->setPixmap(artwork::render(artwork::Picture::WavingChildren, Picture4->size(), ratio));
}

// Load: measure the screen, lay the window out for it, seed the random source.
void Form1::Form_Load()
{
    const double width = m_seams.screen.width() / m_seams.screen.pixelWidth();
    const double pixels = std::isfinite(width) ? std::nearbyint(width) : 0.0; // halves to even
    m_state.ScreenWidth = static_cast<std::int16_t>(
        std::clamp(pixels, 0.0, double(std::numeric_limits<std::int16_t>::max())));

    for (Panel &panel : m_panels)
        panel.heading->move(6, 8);

    if (m_state.ScreenWidth >= 1000) {
        placeOptions(true);
    } else {
        Picture1->resize(790, 500);
        Picture2->hide();
        Picture3->hide();
        Picture4->hide();
        for (int i = 0; i < 4; ++i) {
            Command1[i]->setGeometry(10 + 100 * i, 2, 96, 32);
            setPointSize(Command1[i], 16);
            setPointSize(m_panels[i].heading, 16);
        }
        placeOptions(false);
        Command2->setGeometry(580, 2, 205, 32);
        setPointSize(Command2, 12);
        for (Panel &panel : m_panels) {
            panel.cancel->setGeometry(700, panel.cancel->y(), 75, 32);
            setPointSize(panel.cancel, 12);
            panel.decide->setGeometry(620, panel.decide->y(), 75, 32);
            setPointSize(panel.decide, 12);
        }
        for (Panel &panel : m_panels)
            panel.picture->resize(794, 544);
        // The window fits the screen: just large enough for the compact layout's controls.
        setFixedSize(kCompactSize);
    }
    seedRandom();
}

// Options stand in one or two columns; the second column of division starts at level 17, that
// of multiplication at level 17 too.
void Form1::placeOptions(bool large)
{
    struct Columns {
        int firstOfSecond; // index of the first option in column 2 (or past the end)
        int compactWidth1, compactWidth2;
    };
    const Columns columns[]
        = { { 16, 400, 400 }, { 13, 400, 400 }, { 16, 380, 380 }, { 16, 400, 380 } };
    for (int op = 0; op < 4; ++op) {
        const Columns &c = columns[op];
        const auto &options = m_panels[op].options;
        for (int i = 0; i < int(options.size()); ++i) {
            const bool second = i >= c.firstOfSecond;
            const int k = second ? i - c.firstOfSecond : i;
            if (large) {
                options[i]->setGeometry(second ? 518 : 16, 45 + 38 * k, 498, 28);
            } else {
                options[i]->setGeometry(
                    second ? 400 : 16, 40 + 30 * k, second ? c.compactWidth2 : c.compactWidth1, 28);
                setPointSize(options[i], 12);
            }
        }
    }
}

// The seed is the time of day's minutes and seconds as one number (minutes × 100 + seconds),
// read from two readings in a row as the clock gives them.
void Form1::seedRandom()
{
    const std::string first = m_seams.clock.timeOfDay();
    const std::string second = m_seams.clock.timeOfDay();
    std::uint32_t seed = 0;
    if (first.size() >= 5 && second.size() >= 2) {
        const std::string digits = first.substr(3, 2) + second.substr(second.size() - 2);
        for (char c : digits)
            seed = 10 * seed + (c >= '0' && c <= '9' ? std::uint32_t(c - '0') : 0);
    }
    m_seams.random.reseed(seed);
}

} // namespace piko
