#pragma once

#include "ui/main/Prompter.h"

#include <QList>
#include <QPrinter>
#include <QStringList>

#include <functional>

// Answers the program's questions from a script and keeps what it was told.
class ScriptedPrompter : public Prompter {
public:
    QList<QMessageBox::StandardButton> answers; // for ask(), first first
    QStringList asked;
    QStringList told;
    QStringList fileNames;                // for saveFileName() and openFileName(); empty: cancelled
    std::optional<FontChoice> fontChoice; // for font(); empty: cancelled
    std::function<void()> onAsk;          // runs while a question is open, as a real box would
    std::optional<PrintRange> printRange; // for print(); empty: cancelled
    QString printFile;                    // where an answered print goes, as a PDF
    QList<bool> printPreselected;         // whether each print dialog came with the selection

    QMessageBox::StandardButton ask(QWidget*, const QString& text, QMessageBox::StandardButtons,
                                    QMessageBox::Icon) override {
        asked << text;
        if (onAsk) onAsk();
        return answers.isEmpty() ? QMessageBox::Cancel : answers.takeFirst();
    }
    void tell(QWidget*, const QString& text, QMessageBox::Icon) override { told << text; }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
    }
    QString openFileName(QWidget*, const QString&) override {
        return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
    }
    std::optional<FontChoice> font(QWidget*, const QFont&, const QColor&) override {
        return fontChoice;
    }
    std::optional<PrintRange> print(QWidget*, QPrinter& printer, bool preselected) override {
        printPreselected << preselected;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printFile);
        return printRange;
    }
};
