#pragma once

#include <QDialog>

#include <array>

class Prompter;
class QLineEdit;
class QPushButton;
class QFormLayout;
class QGridLayout;
class QHBoxLayout;
class QVBoxLayout;
class SliderGrid;

// What Set Scale and Importance Groups share: the slider grid `gs`, the edit boxes `Text1` for
// the current column's entry, the buttons `InsDel` "&Ins", "&Del" and "&Load", "OK" and
// "Cancel" (`Command1`), and the help button `Helpi`. The dialog edits the grid's copy; the
// caller reads the result once exec() returned Accepted.
class SliderDialog : public QDialog {
    Q_OBJECT
public:
    SliderGrid* grid() const { return m_grid; }

    // "Scale Geometry" "Left" and "Right" in twips; 0 (nothing stored) gives the defaults.
    // Set them before exec(); read them afterwards, whatever the answer, to store them.
    void setSliderGeometry(int labelColumnWidth, int sliderWidth);
    int labelColumnWidth() const;
    int sliderWidth() const;

protected:
    enum Box { TopScore = 0, Value = 1, Name = 2 }; // `Text1` indices; box 0 is "% of Total" too

    // `helpPage` is the help that F1 and the help button open.
    SliderDialog(Prompter& prompter, const QString& deleteQuestion, const QString& helpPage,
                 QWidget* parent);

    // Adds box `index` to the form under the grid.
    QLineEdit* addBox(Box index, const QString& label, const QString& toolTip = {});
    // Adds button `InsDel<index>` beside the boxes.
    QPushButton* addButton(int index, const QString& caption, const QString& toolTip);
    // The current column after a button did its work: kept, except that column 1 gives way to
    // column count - 1; its entry is shown in the boxes.
    void keepColumnAfterButton();
    void showEntry();
    // "&Load": the caller's library dialog, then the chosen entry into the grid.
    virtual void loadFromLibrary() = 0;

    Prompter& m_prompter;
    QHBoxLayout* m_header; // above the grid, the help button at its right
    QVBoxLayout* m_extras; // between the boxes and "OK"/"Cancel"

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void apply(Box index);
    void insertEntry();
    void deleteEntry();

    void chainTabs(QWidget* added);

    SliderGrid* m_grid;
    std::array<QWidget*, 3> m_lastTabs{}; // "OK", "Cancel" and the help button, in this order
    QWidget* m_lastAdded = nullptr;
    QFormLayout* m_form;
    QGridLayout* m_buttons;
    std::array<QLineEdit*, 3> m_boxes{};
    QString m_deleteQuestion;
    int m_editColumn = 0; // the grid's current column when a box took the focus
};
