// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// The printed worksheet as a reader of the PDF finds it (poppler's pdftotext, qpdf): exactly the
// library's problems on the first page and, on the second, the same problems with their answers;
// the command line's answers to a teacher's mistakes; and Ctrl+P in the window.
#include "AppTestSupport.h"
#include "app/WorksheetPrint.h"
#include "drill/Texts.h"

#include <QCoreApplication>
#include <QFile>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace piko::test {
namespace {

struct Ran {
    int status = -1;
    QString out, err;
};

Ran run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return { process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
        QString::fromUtf8(process.readAllStandardOutput()),
        QString::fromUtf8(process.readAllStandardError()) };
}

// The problems a page of the PDF shows, one "(n) text" or "(n) text answer [あまり r]" each,
// blanks evened out.
QStringList problemsOnPage(const QString &pdf, int page)
{
    const Ran text = run("pdftotext",
        { "-layout", "-f", QString::number(page), "-l", QString::number(page), pdf, "-" });
    EXPECT_EQ(text.status, 0) << text.err.toStdString();
    QStringList found;
    static const QRegularExpression problem(R"(\(\d+\)\s+\d+ \S \d+ ＝.*)");
    for (auto m = problem.globalMatch(text.out); m.hasNext();)
        found << m.next().captured(0).simplified();
    return found;
}

TEST(Worksheet, ThePdfHoldsTheLibrarysProblemsAndThenTheirAnswers)
{
    QTemporaryDir dir;
    // A level of each operation, division's with あまり among them; a long one in one column.
    for (const WorksheetRequest request :
        { WorksheetRequest { 1, 16, 0, 11 }, WorksheetRequest { 2, 3, 0, 12 },
            WorksheetRequest { 3, 10, 0, 13 }, WorksheetRequest { 4, 7, 0, 14 } }) {
        const std::optional<Worksheet> sheet = makeWorksheet(request);
        ASSERT_TRUE(sheet);
        const QString pdf = dir.filePath(QStringLiteral("sheet%1.pdf").arg(request.operation));
        QString why;
        ASSERT_TRUE(writeWorksheetPdf(*sheet, pdf, &why)) << why.toStdString();
        const Ran check = run("qpdf", { "--check", pdf });
        EXPECT_EQ(check.status, 0) << check.out.toStdString();

        QStringList problems, answers;
        for (const WorksheetProblem &p : sheet->problems) {
            const QString asked = QStringLiteral("(%1) %2")
                                      .arg(p.number)
                                      .arg(QString::fromStdString(p.text))
                                      .simplified();
            problems << asked;
            answers << asked + " " + QString::number(p.answer)
                    + (sheet->remainder ? QStringLiteral(" あまり %1").arg(p.remainder)
                                        : QString());
        }
        // pdftotext reads the columns side by side: compare as sets of lines, and count.
        QStringList onPaper = problemsOnPage(pdf, 1), withAnswers = problemsOnPage(pdf, 2);
        const auto column = [](QStringList lines) {
            QStringList out;
            for (const QString &line : lines)
                out << line.split(QRegularExpression(R"(\s+(?=\(\d+\)))"));
            out.sort();
            return out;
        };
        problems.sort();
        answers.sort();
        // The problems' page has empty boxes, and あまり after them on a remainder level.
        QStringList asked = column(onPaper);
        for (QString &line : asked)
            line.remove(QStringLiteral(" あまり"));
        EXPECT_EQ(asked, problems) << "operation " << request.operation;
        EXPECT_EQ(column(withAnswers), answers) << "operation " << request.operation;
    }
}

TEST(Worksheet, TheCommandLineRefusesMistakesWithStatusTwoAndNoFile)
{
    const QString program = QCoreApplication::applicationDirPath() + "/../app/pikomaru";
    QTemporaryDir dir;
    const QString pdf = dir.filePath("sheet.pdf");
    const Ran made
        = run(program, { "--worksheet", "わりざん:7", "--count", "30", "--seed", "5", "-o", pdf });
    ASSERT_EQ(made.status, 0) << made.err.toStdString();
    EXPECT_EQ(problemsOnPage(pdf, 1).join(' ').count(QRegularExpression(R"(\(\d+\))")), 10)
        << "ten to a page";
    EXPECT_EQ(run("pdfinfo", { pdf }).out.count(QRegularExpression(R"(Pages:\s+6)")), 1)
        << "three pages and three of answers";
    ASSERT_TRUE(QFile::remove(pdf));

    for (const QStringList &wrong : QList<QStringList> { { "--worksheet", "div:25", "-o", pdf },
             { "--worksheet", "mod:1", "-o", pdf },
             { "--worksheet", "add:1", "--count", "0", "-o", pdf },
             { "--worksheet", "add:1", "--seed", "-1", "-o", pdf }, { "--worksheet", "add:1" },
             { "--worksheet", "add:1", "-o", dir.filePath("no/such/folder.pdf") },
             { "--fullscreen" } }) {
        const Ran refused = run(program, wrong);
        EXPECT_EQ(refused.status, 2) << wrong.join(' ').toStdString();
        // Japanese first, then English.
        EXPECT_TRUE(
            refused.err.contains(QRegularExpression("pikomaru: .*[ぁ-ん].*\npikomaru: [ -~]+\n")))
            << refused.err.toStdString();
        EXPECT_FALSE(QFile::exists(pdf));
    }
    EXPECT_TRUE(run(program, { "--help" }).out.contains("--worksheet OP:LEVEL"));
    EXPECT_EQ(run(program, { "--version" }).out, "pikomaru " PIKOMARU_VERSION "\n");
}

// Ctrl+P: with no level, the pupil is told to choose one; with one, its worksheet's preview
// opens over a window that stays as it was.
TEST(Worksheet, CtrlPPreviewsTheChosenLevelsSheet)
{
    Window win;
    QTest::keyClick(win.get("Command1(0)"), Qt::Key_P, Qt::ControlModifier);
    ASSERT_EQ(win.messages.shown.size(), 1u);
    EXPECT_EQ(win.messages.shown.back().toStdString(), texts::kNoLevelToPrint);
    EXPECT_EQ(win.form->findChild<QPrintPreviewDialog *>(), nullptr);

    win.choose(3, 7);
    const QStringList before = differencesFromPresenter(*win.form);
    QTest::keyClick(win.get("Command1(0)"), Qt::Key_P, Qt::ControlModifier);
    auto *preview = win.form->findChild<QPrintPreviewDialog *>("WorksheetPreview");
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_EQ(win.messages.shown.size(), 1u);
    EXPECT_EQ(differencesFromPresenter(*win.form), before);
    preview->close();
}

} // namespace
} // namespace piko::test
