#pragma once

#include "core/Records.h"

#include <QDialog>

#include <vector>

class Gradebook;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "Student Information": the ID, note and "Name as ID" choice of each student, chosen in turn in
// the selector. A field is written into the student's record when it loses the focus, the
// choice when it is clicked; "Ok" rewrites the name column as chosen and marks the gradebook
// modified, "Cancel" and the close box put every student back and leave the table alone.
//
// Use with exec(), after the access check for student names. `firstRow` is the table row of the
// student selected first. The current cell is the caller's: it refreshes its panel afterwards.
class StudentInfoDialog : public QDialog {
    Q_OBJECT
public:
    StudentInfoDialog(Gradebook& book, int firstRow, QWidget* parent = nullptr);

    void accept() override;
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillFields(int index);
    void writeBack(QObject* field);

    Gradebook& m_book;
    std::vector<StudentRecord> m_saved;
    int m_shown = -1; // the entry whose fields are shown
    QComboBox* m_students;
    QLineEdit* m_id;
    QPlainTextEdit* m_note;
    QCheckBox* m_showAs;
    QPushButton* m_cancel;
};
