// Draws every dialog over a sample gradebook into PNG files, so their layout can be
// looked at in one go: at the default font, at a large one, and at any QT_SCALE_FACTOR.
//
//   quillmark-dialogshots GRADEBOOK LIBRARY_DIR OUTPUT_DIR [POINT_SIZE]
#include "output/BarChartView.h"
#include "output/DistributionChart.h"
#include "storage/EditableLibrary.h"
#include "storage/GradebookFile.h"
#include "storage/LibraryFile.h"
#include "ui/dialogs/CurveDialog.h"
#include "ui/dialogs/DropLowestDialog.h"
#include "ui/dialogs/HelpWindow.h"
#include "ui/dialogs/ImportanceGroupsDialog.h"
#include "ui/dialogs/LibraryDialog.h"
#include "ui/dialogs/NewScaleDialog.h"
#include "ui/dialogs/PasswordDialog.h"
#include "ui/dialogs/SecurityRulesDialog.h"
#include "ui/dialogs/SetScaleDialog.h"
#include "ui/dialogs/StudentInfoDialog.h"
#include "ui/dialogs/TestInfoDialog.h"
#include "ui/dialogs/TextExchangeSetupDialog.h"
#include "ui/main/Prompter.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

namespace {

bool Shoot(QWidget& dialog, const QString& path) {
    dialog.show();
    QApplication::processEvents();
    const bool saved = dialog.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    dialog.hide();
    return saved;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 4) {
        std::printf("usage: quillmark-dialogshots GRADEBOOK LIBRARY_DIR OUTPUT_DIR [POINT_SIZE]\n");
        return 2;
    }
    if (args.size() > 4) {
        QFont font = QApplication::font();
        font.setPointSizeF(args[4].toDouble());
        QApplication::setFont(font);
    }
    Gradebook book;
    if (!ReadGradebookFile(book, args[1])) {
        std::printf("could not read %s\n", qPrintable(args[1]));
        return 1;
    }
    Libraries libraries;
    ReadLibraries(libraries, args[2]);
    const QDir out(args[3]);
    DialogPrompter prompter;
    const auto never = [](QWidget*, auto&) { return -1; };
    bool ok = true;

    const int col = 2;
    SetScaleDialog scale(book.TestOf(col).scale, book.GetCellText(0, col), libraries, never,
                         prompter);
    auto* chart = new BarChartView;
    chart->setChart(DistributionChart(book, col));
    scale.setChart(chart);
    ok &= Shoot(scale, out.filePath(QStringLiteral("set-scale.png")));

    ImportanceGroupsDialog groups(book.importanceSet(), libraries, never, prompter);
    ok &= Shoot(groups, out.filePath(QStringLiteral("importance-groups.png")));

    GradeScale edited = book.TestOf(col).scale;
    EditableLibrary library(libraries, edited, args[2]);
    library.read();
    LibraryDialog libraryDialog(library, prompter);
    ok &= Shoot(libraryDialog, out.filePath(QStringLiteral("default-scales.png")));

    NewScaleDialog newScale;
    ok &= Shoot(newScale, out.filePath(QStringLiteral("new-scale.png")));

    TestInfoDialog testInfo(book, col, prompter, [](int) {});
    ok &= Shoot(testInfo, out.filePath(QStringLiteral("test-information.png")));

    StudentInfoDialog studentInfo(book, 1);
    ok &= Shoot(studentInfo, out.filePath(QStringLiteral("student-information.png")));

    SecurityRulesDialog rules(book.security());
    ok &= Shoot(rules, out.filePath(QStringLiteral("security-rules.png")));
    PasswordDialog password(book.security().password, prompter);
    ok &= Shoot(password, out.filePath(QStringLiteral("password.png")));
    TextExchangeSetupDialog exportSetup(TextExchangeSetupDialog::Export);
    ok &= Shoot(exportSetup, out.filePath(QStringLiteral("export-setup.png")));
    TextExchangeSetupDialog importSetup(TextExchangeSetupDialog::Import);
    ok &= Shoot(importSetup, out.filePath(QStringLiteral("import-setup.png")));
    DropLowestDialog drop(book);
    ok &= Shoot(drop, out.filePath(QStringLiteral("drop-lowest.png")));
    CurveDialog curve(book, col);
    ok &= Shoot(curve, out.filePath(QStringLiteral("curve.png")));
    HelpWindow help;
    ok &= Shoot(help, out.filePath(QStringLiteral("help.png")));
    return ok ? 0 : 1;
}
