// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

#include "app/Seams.h"
#include "drill/Flow.h"
#include "drill/Placement.h"

#include <QBasicTimer>
#include <QHash>
#include <QWidget>

#include <array>
#include <memory>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace piko {

class Announcer;
class DrawingSurface;
class RowButton;
namespace design {
struct Control;
}

// The program's one window: a face on the drill flow. It builds every control from the design
// tables (objectName "Command6(12)" and so on), lays them out for the screen at load, hands each
// of the pupil's actions to the flow through handlers named after control and event, and shows
// what the flow decides. The whole design is shown at one zoom, the largest at which it fits the
// window (which starts as large as the screen's free area allows, up to the design's size);
// F11 shows it on the whole screen. The keyboard reaches everything: Tab and the arrow keys move,
// Enter and Space press.
class Form1 final : public QWidget {
    Q_OBJECT

public:
    Form1(DrillState &state, const Seams &seams, QWidget *parent = nullptr);
    ~Form1() override;

    // Room kept for the title bar when the window is fitted to the screen's free area.
    static constexpr int kTitleBar = 32;

    DrawingSurface &surface() const { return *Picture1; }
    Flow &flow() const { return *m_flow; }
    double zoom() const { return m_zoom; }
    // The controls' own area inside the window: the design at the zoom, centred.
    QWidget &stage() const { return *m_stage; }

public slots:
    void Form_Load();
    void Command1_Click(int index);
    void Option1_Click(int index);
    void Option2_Click(int index);
    void Option3_Click(int index);
    void Option4_Click(int index);
    void Command10_Click();
    void Command12_Click();
    void Command14_Click();
    void Command3_Click();
    void Command11_Click();
    void Command13_Click();
    void Command15_Click();
    void Command4_Click();
    void Picture1_MouseDown(int button, int shift, int x, int y);
    void Command6_Click(int index);
    void Command7_Click(int index);
    void Command9_Click(int index);
    void Text1_Click(int index);
    void Text2_Click(int index);
    void Command5_Click(int index);
    void Command8_Click();
    void Command2_Click();

    // Lets the flow see the clock while a mark is shown (a timer calls it).
    void tickMark();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // One problem row's controls; array index row − 1.
    struct RowControls {
        QLineEdit *answer = nullptr; // Text1
        QLineEdit *remainder = nullptr; // Text2
        QPushButton *remainderButton = nullptr; // Command9 あまり
        QPushButton *check = nullptr; // Command5 ﾁｪｯｸ
        QWidget *keypad = nullptr; // Picture6
        std::array<QPushButton *, 10> digits {}; // Command6, by digit
        QPushButton *erase = nullptr; // Command7 けす
        RowButton *row = nullptr; // the row itself, for the keyboard and screen readers
    };
    struct PanelControls {
        QWidget *picture = nullptr;
        QLabel *heading = nullptr;
        std::vector<QRadioButton *> options;
        QPushButton *decide = nullptr;
        QPushButton *cancel = nullptr;
    };
    struct Built {
        const char *name;
        int index;
        QWidget *widget;
        QRect place; // in design pixels
        int fontPixels; // at the design size; 0 for the parent's font
    };

    QWidget *build(const design::Placed &placed);
    QWidget *named(const char *name, int index = -1) const;
    void createControls();
    void connectHandlers();
    void nameForScreenReaders();
    void applyLayout();
    void renderPictures();
    Built &built(QWidget *widget);
    void place(QWidget *widget, QRect designPlace);
    void setFontPixels(QWidget *widget, int pixels);
    void setZoom(double zoom);
    void fitWindowToScreen();

    void commitComposition(int row);
    bool handleKey(QObject *watched, QKeyEvent *event);
    void focusRow(int row);

    void showView();
    void showRow(int row);
    void showOptions();
    void showFocus(const View &before);
    static QString rowName(int row); // "（2ばんめ）"

    Screen &m_screen; // the rest of the seams are the flow's
    QWidget *m_stage = nullptr;
    QSize m_client; // the layout's size in design pixels
    double m_zoom = 1.0;
    std::vector<Built> m_built; // every control, in the order made
    QHash<QWidget *, std::size_t> m_builtIndex;

    std::array<QPushButton *, 4> Command1 {};
    QPushButton *Command2 = nullptr;
    DrawingSurface *Picture1 = nullptr;
    QLabel *Label1 = nullptr;
    QPushButton *Command8 = nullptr;
    QLabel *Picture2 = nullptr;
    QLabel *Picture3 = nullptr;
    QLabel *Picture4 = nullptr;
    std::array<RowControls, 3> m_rows {};
    std::array<PanelControls, 4> m_panels {}; // by operation − 1
    Announcer *m_announcer = nullptr; // says what the flow announces

    std::unique_ptr<Flow> m_flow;
    bool m_showing = false; // the view is being put on the controls: their signals are not input
    QBasicTimer m_markTimer; // looks at the clock while a mark is shown
    View m_shown; // the view as last shown, to see what changed
    std::array<int, 3> m_shownProblem {}; // each row's problem number as last shown
    std::array<Box, 3> m_shownActive {}; // each row's active box as last shown
    std::array<QString, 6> m_composing; // text an input method is composing, per box

    // The pictures are drawn once, after the window's first paint: the first screen has none.
    bool m_picturesQueued = false;
    bool m_picturesRendered = false;
};

} // namespace piko
