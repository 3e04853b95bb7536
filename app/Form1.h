#pragma once

#include "app/Seams.h"
#include "state/DrillState.h"

#include <QEvent>
#include <QList>
#include <QPointer>
#include <QWidget>

#include <array>
#include <deque>
#include <memory>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace piko {

class DrawingSurface;

// The program's one window. It builds every control with its design name (objectName
// "Command6(12)" and so on), lays them out for the screen at load, and runs the drill through
// handlers named after control and event. All drill state lives in the DrillState it is given.
class Form1 final : public QWidget {
    Q_OBJECT

public:
    Form1(DrillState &state, const Seams &seams, QWidget *parent = nullptr);
    ~Form1() override;

    // Client-area size of the large design and of the compact layout.
    static constexpr QSize kLargeSize { 1018, 731 };
    static constexpr QSize kCompactSize { 800, 580 };

    DrawingSurface &surface() const { return *Picture1; }

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

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    struct Panel {
        QWidget *picture;
        QLabel *heading;
        std::vector<QRadioButton *> options;
        QPushButton *decide;
        QPushButton *cancel;
    };

    void createControls();
    void createPanels();
    void createDrillSurface();
    void createKeypad(int row);
    void nameForScreenReaders();
    void placeOptions(bool large);
    void seedRandom();
    void renderPictures();

    Panel &panelOf(int operation);
    void optionClicked(int operation, int index);
    void decide(int operation);
    void cancel(int operation);
    void clearOptionSelection();
    void drawEmptyRows();
    void drawRowFrame(int row);
    void reprintOpenRow(int row);
    void prepareRow();
    void setActiveBox(int index, bool remainder);
    void blink();
    void releaseHeldInput();

    DrillState &m_state;
    Seams m_seams;

    std::array<QPushButton *, 4> Command1 {};
    QPushButton *Command2 = nullptr;
    DrawingSurface *Picture1 = nullptr;
    std::array<Panel, 4> m_panels {}; // by operation - 1
    QLabel *Label1 = nullptr;
    QPushButton *Command8 = nullptr;
    QLabel *Picture2 = nullptr;
    QLabel *Picture3 = nullptr;
    QLabel *Picture4 = nullptr;
    std::array<QLineEdit *, 3> Text1 {};
    std::array<QLineEdit *, 3> Text2 {};
    std::array<QPushButton *, 3> Command9 {};
    std::array<QPushButton *, 3> Command5 {};
    std::array<QWidget *, 3> Picture6 {};
    std::array<QPushButton *, 30> Command6 {};
    std::array<QPushButton *, 3> Command7 {};

    // What each open row shows, so that drawing the empty frames again can restore it.
    std::array<std::string, 4> m_shownStatus;
    std::array<std::string, 4> m_shownProblem;

    // The pictures are drawn once, after the window's first paint: the first screen has none.
    bool m_picturesQueued = false;
    bool m_picturesRendered = false;

    // Input that reaches the window while a mark blinks waits here and is handled afterwards.
    bool m_blinking = false;
    std::deque<std::pair<QPointer<QObject>, std::unique_ptr<QEvent>>> m_heldInput;
};

} // namespace piko
