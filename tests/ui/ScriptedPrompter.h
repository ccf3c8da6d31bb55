#pragma once

#include "ui/main/Prompter.h"

#include <QList>
#include <QStringList>

// Answers the program's questions from a script and keeps what it was told.
class ScriptedPrompter : public Prompter {
public:
    QList<QMessageBox::StandardButton> answers; // for ask(), first first
    QStringList asked;
    QStringList told;
    QStringList fileNames; // for saveFileName() and openFileName(); empty: cancelled

    QMessageBox::StandardButton ask(QWidget*, const QString& text, QMessageBox::StandardButtons,
                                    QMessageBox::Icon) override {
        asked << text;
        return answers.isEmpty() ? QMessageBox::Cancel : answers.takeFirst();
    }
    void tell(QWidget*, const QString& text, QMessageBox::Icon) override { told << text; }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
    }
    QString openFileName(QWidget*, const QString&) override {
        return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
    }
    std::optional<QFont> font(QWidget*, const QFont&) override { return std::nullopt; }
};
