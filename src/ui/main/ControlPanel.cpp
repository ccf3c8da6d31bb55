#include "ControlPanel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

// Tighter than the style's default, so the panels fit beside the table in a window of
// ordinary size.
constexpr int Spacing = 4;

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

template <typename L> L* compact(L* layout) {
    layout->setContentsMargins(6, 2, 6, 6);
    layout->setSpacing(Spacing);
    return layout;
}

void keepPlaceWhenHidden(QWidget* w) {
    QSizePolicy policy = w->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    w->setSizePolicy(policy);
}

} // namespace

ControlPanel::ControlPanel(QWidget* parent) : QWidget(parent) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(Spacing);

    studentAndTest = named(new QWidget(this), "Panel3D1");
    auto* panelLayout = new QVBoxLayout(studentAndTest);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->setSpacing(Spacing);

    // Students.
    studentPanel = named(new QGroupBox(tr("Students:"), studentAndTest), "StudentPanel");
    auto* students = compact(new QVBoxLayout(studentPanel));
    studentName = named(new QLabel(studentPanel), "Label5");
    studentName->setTextFormat(Qt::PlainText);
    studentName->setFrameShape(QFrame::StyledPanel);
    // A long name is cut off rather than widening the panel.
    studentName->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    studentName->setMinimumWidth(120);
    students->addWidget(studentName);
    auto* idRow = new QHBoxLayout;
    nameAsId = named(new QCheckBox(tr("Name as ID"), studentPanel), "ID");
    nameAsId->setAccessibleDescription(
        tr("Show the student's ID in the table instead of the name"));
    idRow->addWidget(nameAsId);
    idRow->addStretch(1);
    auto* countLabel = new QLabel(tr("Number of students:"), studentPanel);
    studentCount = named(new QLineEdit(studentPanel), "NumStud");
    studentCount->setToolTip(tr("Number of students (1 to 100); press Enter to apply"));
    studentCount->setMaximumWidth(studentCount->fontMetrics().horizontalAdvance(u"00000"_s) + 12);
    countLabel->setBuddy(studentCount);
    idRow->addWidget(countLabel);
    idRow->addWidget(studentCount);
    students->addLayout(idRow);
    auto* studentRow = new QHBoxLayout;
    const char* studentCaptions[] = {"Del", "New", "Info"};
    const char* studentTips[] = {"Delete the current or selected students",
                                 "Insert a student above the current one",
                                 "Student ID, note and name display"};
    for (int i = 0; i < 3; ++i) {
        studentButtons[std::size_t(i)] = new QPushButton(tr(studentCaptions[i]), studentPanel);
        studentButtons[std::size_t(i)]->setObjectName(QStringLiteral("Stue%1").arg(i));
        studentButtons[std::size_t(i)]->setToolTip(tr(studentTips[i]));
        studentRow->addWidget(studentButtons[std::size_t(i)]);
    }
    students->addLayout(studentRow);
    panelLayout->addWidget(studentPanel);

    // The current test.
    testFrame = named(new QGroupBox(tr("Current Test: None"), studentAndTest), "TestFrame");
    auto* test = compact(new QVBoxLayout(testFrame));
    auto* maxRow = new QHBoxLayout;
    maxScoreLabel = named(new QLabel(tr("&Max Score:"), testFrame), "Label1");
    maxScore = named(new QLineEdit(testFrame), "Stud0");
    maxScoreLabel->setBuddy(maxScore);
    // Off a test column the label goes but the box stays (disabled), so nothing moves.
    keepPlaceWhenHidden(maxScoreLabel);
    maxRow->addWidget(maxScoreLabel);
    maxRow->addWidget(maxScore, 1);
    test->addLayout(maxRow);

    columnOptions = new QStackedWidget(testFrame);
    testOptions = new QWidget(columnOptions);
    auto* testLayout = new QGridLayout(testOptions);
    testLayout->setContentsMargins(0, 0, 0, 0);
    testLayout->setSpacing(Spacing);
    importanceLabel = named(new QLabel(tr("&Importance:"), testOptions), "Label3");
    importance = named(new QComboBox(testOptions), "Studl");
    importanceLabel->setBuddy(importance);
    importance->setAccessibleName(tr("Importance"));
    testLayout->addWidget(importanceLabel, 0, 0);
    testLayout->addWidget(importance, 0, 1);
    testLayout->setColumnStretch(1, 1);
    calculateGrades = named(new QCheckBox(tr("Calculate Grades:"), testOptions), "DoGrading");
    calculateGrades->setLayoutDirection(Qt::RightToLeft);
    calculateGrades->setAccessibleDescription(
        tr("Turn the test's scores into grades by its scale"));
    // Its box follows the caption, so its own direction is right to left; the cell's left edge
    // stays the left edge.
    testLayout->addWidget(calculateGrades, 1, 0, 1, 2, Qt::AlignAbsolute | Qt::AlignLeft);
    testLayout->setRowStretch(2, 1);
    // The two labels share one width, so the Max Score box and the list line up.
    const int labelWidth =
        std::max(maxScoreLabel->sizeHint().width(), importanceLabel->sizeHint().width());
    maxScoreLabel->setMinimumWidth(labelWidth);
    importanceLabel->setMinimumWidth(labelWidth);

    totalOptions = new QWidget(columnOptions);
    auto* totalLayout = new QVBoxLayout(totalOptions);
    totalLayout->setContentsMargins(0, 0, 0, 0);
    totalLayout->setSpacing(Spacing);
    showTotalScores =
        named(new QCheckBox(tr("Show Total  Score %"), totalOptions), "ShowTotalScores");
    // Shown on the Total column only; its place stays so the frame below does not move.
    keepPlaceWhenHidden(showTotalScores);
    showTotalScores->setAccessibleDescription(
        tr("Show each total as a percentage beside its grade"));
    totalLayout->addWidget(showTotalScores);
    averaging = named(new QGroupBox(tr("Averaging rules:"), totalOptions), "Fra");
    auto* rules = compact(new QVBoxLayout(averaging));
    averagingGroup = new QButtonGroup(this);
    const char* ruleCaptions[] = {"Average Normalized Scores", "Average Normalized Grades"};
    const char* ruleTips[] = {"Totals average the scores as percentages of their maximum",
                              "Totals average the grades' values"};
    for (int i = 0; i < 2; ++i) {
        averagingRule[std::size_t(i)] = new QRadioButton(tr(ruleCaptions[i]), averaging);
        averagingRule[std::size_t(i)]->setObjectName(QStringLiteral("WhatRound%1").arg(i));
        averagingRule[std::size_t(i)]->setAccessibleDescription(tr(ruleTips[i]));
        averagingGroup->addButton(averagingRule[std::size_t(i)], i);
        rules->addWidget(averagingRule[std::size_t(i)]);
    }
    totalLayout->addWidget(averaging);
    totalLayout->addStretch(1);
    columnOptions->addWidget(testOptions);
    columnOptions->addWidget(totalOptions);
    test->addWidget(columnOptions);

    ignoreGrade = named(new QCheckBox(tr("Ignore grade"), testFrame), "Include");
    ignoreGrade->setToolTip(tr("Leave this score out of the student's total (X)"));
    test->addWidget(ignoreGrade);
    auto* testButtons = new QGridLayout;
    testButtons->setSpacing(Spacing);
    newTest = named(new QPushButton(tr("&New"), testFrame), "Command3");
    newTest->setToolTip(tr("Add a test in front of the current one"));
    deleteTest = named(new QPushButton(tr("&Del"), testFrame), "Del");
    deleteTest->setToolTip(tr("Delete the current or selected tests"));
    scale = named(new QPushButton(tr("S&cale"), testFrame), "Scal");
    scale->setToolTip(tr("Edit the grading scale of this test"));
    info = named(new QPushButton(tr("&Info"), testFrame), "More");
    info->setToolTip(tr("Date, maximum score, importance and note of the tests"));
    setImportance = named(new QPushButton(tr("Set I&mportance"), testFrame), "SetImportance");
    setImportance->setToolTip(tr("Edit the importance groups and their share of the total"));
    testButtons->addWidget(newTest, 0, 0);
    testButtons->addWidget(deleteTest, 0, 1);
    testButtons->addWidget(scale, 1, 0);
    testButtons->addWidget(info, 1, 1);
    testButtons->addWidget(setImportance, 2, 0, 1, 2);
    test->addLayout(testButtons);
    panelLayout->addWidget(testFrame);
    panelLayout->addStretch(1);
    column->addWidget(studentAndTest, 1);

    chartArea = named(new QWidget(this), "PicGraph");
    chartArea->setAutoFillBackground(true);
    chartArea->setBackgroundRole(QPalette::Base);
    chartArea->hide();
    column->addWidget(chartArea, 1);

    // General: modes, display modes, sorting and the refresh.
    general = named(new QGroupBox(tr("General"), this), "Gra");
    auto* generalLayout = compact(new QVBoxLayout(general));
    auto* modeRow = new QHBoxLayout;
    modeRow->setSpacing(Spacing);
    modeGroup = new QButtonGroup(this);
    const char* modeCaptions[] = {"Edit", "Analyze"};
    const char* modeTips[] = {"Switch to Edit Mode", "Switch to Analyze mode"};
    for (int i = 0; i < 2; ++i) {
        mode[std::size_t(i)] = new QToolButton(general);
        mode[std::size_t(i)]->setObjectName(QStringLiteral("mode%1").arg(i));
        mode[std::size_t(i)]->setText(tr(modeCaptions[i]));
        mode[std::size_t(i)]->setToolTip(tr(modeTips[i]));
        mode[std::size_t(i)]->setCheckable(true);
        modeGroup->addButton(mode[std::size_t(i)], i);
        modeRow->addWidget(mode[std::size_t(i)]);
    }
    mode[0]->setChecked(true);
    generalLayout->addLayout(modeRow);
    displayModeGroup = new QButtonGroup(this);
    const char* displayCaptions[] = {"Grades as &Numbers", "Grades as &Letters",
                                     "Grades as % of MAX"};
    const char* displayTips[] = {"Grades show their numeric values", "Grades show their letters",
                                 "Scores show as percentages of the maximum score"};
    for (int i = 0; i < 3; ++i) {
        displayMode[std::size_t(i)] = new QRadioButton(tr(displayCaptions[i]), general);
        displayMode[std::size_t(i)]->setObjectName(QStringLiteral("Option3D1%1").arg(i));
        displayMode[std::size_t(i)]->setAccessibleDescription(tr(displayTips[i]));
        displayModeGroup->addButton(displayMode[std::size_t(i)], i);
        generalLayout->addWidget(displayMode[std::size_t(i)]);
    }
    displayMode[0]->setChecked(true);
    auto* sorting = new QFormLayout;
    sorting->setVerticalSpacing(Spacing);
    const QStringList studentRules{tr("don't sort"), tr("by name"), tr("by grade")};
    const QStringList testRules{tr("don't sort"), tr("by name"), tr("by date")};
    const char* sortLabels[] = {"Sort Students:", "Sort Tests:"};
    for (int i = 0; i < 2; ++i) {
        sortRule[std::size_t(i)] = new QComboBox(general);
        sortRule[std::size_t(i)]->setObjectName(QStringLiteral("srule%1").arg(i));
        sortRule[std::size_t(i)]->addItems(i == 0 ? studentRules : testRules);
        sortRule[std::size_t(i)]->setAccessibleName(tr(sortLabels[i]).chopped(1));
        sorting->addRow(tr(sortLabels[i]), sortRule[std::size_t(i)]);
    }
    generalLayout->addLayout(sorting);
    refresh = named(new QPushButton(tr("&Refresh"), general), "Upd");
    refresh->setToolTip(tr("Recalculate every grade and sort again"));
    modeRow->addStretch(1);
    modeRow->addWidget(refresh);
    column->addWidget(general);

    // Tab walks the panels as they are read, top to bottom.
    QWidget* const order[] = {nameAsId,
                              studentCount,
                              studentButtons[0],
                              studentButtons[1],
                              studentButtons[2],
                              maxScore,
                              importance,
                              calculateGrades,
                              showTotalScores,
                              averagingRule[0],
                              averagingRule[1],
                              ignoreGrade,
                              newTest,
                              deleteTest,
                              scale,
                              info,
                              setImportance,
                              mode[0],
                              mode[1],
                              refresh,
                              displayMode[0],
                              displayMode[1],
                              displayMode[2],
                              sortRule[0],
                              sortRule[1]};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}
