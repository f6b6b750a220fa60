#pragma once
// Answers the application's boxes and file dialogs from a script and records what was shown.
#include <QStringList>
#include <deque>

#include "app/user_prompts.h"

namespace qav {

class ScriptedPrompts : public UserPrompts {
public:
    std::deque<bool> answers;  // confirmations, in order; No when the script runs out
    QString openPath, savePath;
    QStringList confirmations, informations, errors;
    QStringList saveDefaults;            // the file name each save dialog offered
    std::deque<SaveAnswer> saveAnswers;  // "Save changes to NAME?", in order; Discard when out
    QStringList saveQuestions;           // the NAME of each such question

    bool confirm(const QString& text) override {
        confirmations << text;
        if (answers.empty()) return false;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    QString openFileName(const QString&) override { return openPath; }
    QString saveFileName(const QString&, const QString& defaultName = QString()) override {
        saveDefaults << defaultName;
        return savePath;
    }
    void information(const QString& text) override { informations << text; }
    void error(const QString& text) override { errors << text; }
    SaveAnswer askSaveChanges(const QString& name) override {
        saveQuestions << name;
        if (saveAnswers.empty()) return SaveAnswer::Discard;
        const SaveAnswer a = saveAnswers.front();
        saveAnswers.pop_front();
        return a;
    }
};

}  // namespace qav
