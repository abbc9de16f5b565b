#pragma once

#include "app/dialogs.h"

#include <QDialog>
#include <QQueue>
#include <QStringList>

#include <functional>

// Answers the window's dialogs from a script and remembers every box shown,
// so no test ever waits for a click. A file dialog nobody scripted an answer
// for counts as unexpected and is cancelled.
class ScriptedDialogs : public vistrel::app::Dialogs {
public:
    void message(QWidget *, const QString &text) override { messages.append(text); }
    void error(QWidget *, const QString &text) override { errors.append(text); }
    void warning(QWidget *, const QString &text) override { warnings.append(text); }
    // Confirmed when the script says so; an unscripted question is cancelled.
    bool confirm(QWidget *, const QString &title, const QString &text) override {
        questions.append(title + u'\n' + text);
        if (confirmations.isEmpty()) {
            ++unexpected;
            return false;
        }
        return confirmations.dequeue();
    }
    // Yes or No from the same script; an unscripted question is answered No.
    bool askYesNo(QWidget *, const QString &text) override {
        questions.append(text);
        if (confirmations.isEmpty()) {
            ++unexpected;
            return false;
        }
        return confirmations.dequeue();
    }
    QString showOpenDialog(QWidget *, const QString &filter, const QString &) override {
        return answer(QStringLiteral("open ") + filter);
    }
    QString showSaveDialog(QWidget *, const QString &filter, const QString &,
                           const QString &suffix) override {
        return answer(QStringLiteral("save ") + filter + QStringLiteral(" .") + suffix);
    }

    QQueue<QString> answers; // paths to choose, in order; "" cancels
    QStringList asked;       // which file dialogs were opened
    // Unsaved changes: the answer scripted, else Cancel, counted as unexpected.
    Unsaved askToSave(QWidget *, const QString &text) override {
        questions.append(text);
        if (saveAnswers.isEmpty()) {
            ++unexpected;
            return Unsaved::Cancel;
        }
        return saveAnswers.dequeue();
    }

    // A dialog of the program's own: the script gets it, does what the user
    // would with its widgets, and answers; without one it is cancelled.
    bool runDialog(QDialog &dialog) override {
        asked.append(QStringLiteral("dialog ") + dialog.objectName());
        if (dialogScripts.isEmpty()) {
            ++unexpected;
            return false;
        }
        return dialogScripts.dequeue()(dialog);
    }

    QQueue<std::function<bool(QDialog &)>> dialogScripts;
    QQueue<bool> confirmations; // answers to questions, in order
    QQueue<Unsaved> saveAnswers;
    QStringList questions; // title, line break, text; a Yes/No question's text alone
    QStringList messages;
    QStringList errors;
    QStringList warnings;
    int unexpected = 0;

private:
    QString answer(const QString &what) {
        asked.append(what);
        if (answers.isEmpty()) {
            ++unexpected;
            return QString();
        }
        return answers.dequeue();
    }
};
