#pragma once

#include <QWidget>

#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QToolButton;

// The panels beside the table: students, the current test, and the "General" frame. Plain
// widgets only; the main window fills them from the document and handles their signals.
class ControlPanel : public QWidget {
    Q_OBJECT
public:
    explicit ControlPanel(QWidget* parent = nullptr);

    QWidget* studentAndTest; // Panel3D1(0): the student panel and the test panel
    QWidget* chartArea;      // PicGraph: takes their place in the Analyze mode
    QGroupBox* general;      // Gra

    QGroupBox* studentPanel;                    // StudentPanel
    QLabel* studentName;                        // Label5(1)
    QCheckBox* nameAsId;                        // ID
    std::array<QPushButton*, 3> studentButtons; // Stue: Del, New, Info
    QLineEdit* studentCount;                    // NumStud

    QGroupBox* testFrame;  // TestFrame
    QLabel* maxScoreLabel; // Label1
    QLineEdit* maxScore;   // Stud(0)
    // What a test column and the Total column offer shares one place of a fixed size, so
    // the buttons below it stay where they are whichever column is current.
    QStackedWidget* columnOptions;
    QWidget* testOptions;                       // importance and Calculate Grades
    QWidget* totalOptions;                      // Show Total Score % and the averaging rules
    QLabel* importanceLabel;                    // Label3
    QComboBox* importance;                      // Studl
    QCheckBox* calculateGrades;                 // DoGrading
    QCheckBox* ignoreGrade;                     // Include
    QPushButton* newTest;                       // Command3
    QPushButton* deleteTest;                    // Del
    QPushButton* scale;                         // Scal
    QPushButton* info;                          // More
    QPushButton* setImportance;                 // SetImportance
    QCheckBox* showTotalScores;                 // ShowTotalScores
    QGroupBox* averaging;                       // Fra
    std::array<QRadioButton*, 2> averagingRule; // WhatRound: Scores, Grades

    std::array<QToolButton*, 2> mode;         // mode: Edit, Analyze
    std::array<QRadioButton*, 3> displayMode; // Option3D1: Numbers, Letters, % of MAX
    std::array<QComboBox*, 2> sortRule;       // srule: students, tests
    QPushButton* refresh;                     // Upd
    QButtonGroup* displayModeGroup;
    QButtonGroup* averagingGroup;
    QButtonGroup* modeGroup;
};
