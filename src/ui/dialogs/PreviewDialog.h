#pragma once

#include <QDialog>

class QLayout;
class QTreeWidget;

// What the grading tools' dialogs share: their options above a preview of what OK will do,
// and OK and Cancel below. The caller applies the plan after OK.
class PreviewDialog : public QDialog {
    Q_OBJECT
protected:
    // `columns` head the preview; `description` tells a screen reader what it lists; `helpPage`
    // is the help F1 opens.
    PreviewDialog(const QStringList& columns, const QString& description, const QString& helpPage,
                  QWidget* parent);
    // Puts `options` above the preview, with room for `widthInChars` characters at any font.
    void layOut(QLayout* options, int widthInChars);
    // After the preview is filled: every column as wide as its texts.
    void fitColumns();

    QTreeWidget* m_preview;
};
