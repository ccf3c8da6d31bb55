#pragma once

#include "SliderDialog.h"
#include "core/Libraries.h"

#include <functional>

class QLabel;

// "Set Scale": the grading scale of one test (or of the Total column) on the slider grid, with
// "&Auto Even" and a place for the test's distribution chart. Typical use:
//
//   SetScaleDialog dialog(test.scale, testName, libraries, chooseScale, prompter, window);
//   dialog.setSliderGeometry(settings.labelColumnWidth, settings.sliderWidth);
//   dialog.setChart(chart);
//   if (dialog.exec() == QDialog::Accepted) test.scale = dialog.scale();
//   else /* read the scale library again */;
//   settings.labelColumnWidth = dialog.labelColumnWidth(); // and sliderWidth(), both answers
class SetScaleDialog : public SliderDialog {
    Q_OBJECT
public:
    // Opens the library dialog over `parent` and answers the chosen library index, or -1. It
    // may rename `edited` ("&Add Current"); the name stays when nothing is loaded.
    using ChooseScale = std::function<int(QWidget* parent, GradeScale& edited)>;

    // `libraries` is read when "&Load" has chosen an entry, so it must outlive the dialog.
    SetScaleDialog(const GradeScale& scale, const QString& testName, const Libraries& libraries,
                   ChooseScale choose, Prompter& prompter, QWidget* parent = nullptr);

    // The edited scale (`EditedScale`).
    GradeScale scale() const;
    // Puts the distribution chart under the edit boxes; the dialog owns it from now on and
    // deletes a chart given before.
    void setChart(QWidget* chart);

private:
    void loadFromLibrary() override;
    void autoEven();

    const Libraries& m_libraries;
    ChooseScale m_choose;
    QWidget* m_chart = nullptr;
};
