#include "ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace {

// The next scripted answer; a dialog nobody scripted fails the test.
template<typename Answer>
Answer takeNext(std::deque<Answer> &script, const char *dialog, const QString &title, Answer unscripted)
{
    if (script.empty()) {
        ADD_FAILURE() << "unexpected " << dialog << ": " << title.toStdString();
        return unscripted;
    }
    const Answer next = script.front();
    script.pop_front();
    return next;
}

} // namespace

QStringList ScriptedDialogs::shownTexts() const
{
    QStringList texts;
    for (const Shown &shown : m_shown)
        texts << shown.request.text;
    return texts;
}

void ScriptedDialogs::forget()
{
    m_shown.clear();
    m_fileRequests.clear();
    m_saveFileRequests.clear();
    m_choiceRequests.clear();
}

MessageAnswer ScriptedDialogs::showMessage(QWidget *, const MessageRequest &request)
{
    if (m_look) {
        auto look = std::move(m_look);
        m_look = nullptr;
        look();
    }
    const MessageAnswer answer = request.buttons == MessageButtons::YesNo
                                     ? takeNext(m_answers, "question", request.text, MessageAnswer::No)
                                     : MessageAnswer::Ok;
    m_shown.push_back({request, answer});
    return answer;
}

QString ScriptedDialogs::getOpenFileName(QWidget *, const OpenFileRequest &request)
{
    m_fileRequests.push_back(request);
    return takeNext(m_files, "file dialog", request.title, QString());
}

QString ScriptedDialogs::getSaveFileName(QWidget *, const SaveFileRequest &request)
{
    m_saveFileRequests.push_back(request);
    return takeNext(m_saveFiles, "save dialog", request.title, QString());
}

int ScriptedDialogs::chooseItem(QWidget *, const ChoiceRequest &request)
{
    m_choiceRequests.push_back(request);
    return takeNext(m_choices, "chooser", request.title, -1);
}
