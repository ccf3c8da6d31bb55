#pragma once

#include "core/Records.h"

#include <QDialog>

#include <functional>
#include <vector>

class Gradebook;
class Prompter;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "Test Information": the date, maximum score, importance group and note of each test, chosen
// in turn in the selector (entry 0 is the Total column). A field is written into the test's
// record when it loses the focus; "Ok" keeps every change and marks the gradebook modified,
// "Cancel" and the close box put every test back as it was when the dialog opened.
//
// Use with exec(). `firstColumn` is the table column (1 = Total, 2 ... tests) selected first.
// `openScale` is called by "Scale" with the selected test's table column and should run the
// window's Set Scale command for that column; the dialog stays open and shows the test again.
// After exec() the caller recalculates (RecalcAll) and refreshes its panel.
class TestInfoDialog : public QDialog {
    Q_OBJECT
public:
    TestInfoDialog(Gradebook& book, int firstColumn, Prompter& prompter,
                   std::function<void(int column)> openScale, QWidget* parent = nullptr);

    void accept() override;
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillFields(int index);
    // Writes the field into the shown test; false when its text was refused.
    bool writeBack(QObject* field);
    void openScaleForShownTest();

    Gradebook& m_book;
    Prompter& m_prompter;
    std::function<void(int)> m_openScale;
    std::vector<TestRecord> m_saved;
    int m_shown = -1; // the entry whose fields are shown
    QComboBox* m_tests;
    QLineEdit* m_date;
    QLineEdit* m_maxScore;
    QComboBox* m_group;
    QPlainTextEdit* m_note;
    QPushButton* m_cancel;
};
