#include "ScriptedDialogs.h"

#include <gtest/gtest.h>

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
    MessageAnswer answer = MessageAnswer::Ok;
    if (request.buttons == MessageButtons::YesNo) {
        if (m_answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << request.text.toStdString();
            answer = MessageAnswer::No;
        } else {
            answer = m_answers.front();
            m_answers.pop_front();
        }
    }
    m_shown.push_back({request, answer});
    return answer;
}

QString ScriptedDialogs::getOpenFileName(QWidget *, const OpenFileRequest &request)
{
    m_fileRequests.push_back(request);
    if (m_files.empty()) {
        ADD_FAILURE() << "unexpected file dialog: " << request.title.toStdString();
        return {};
    }
    const QString path = m_files.front();
    m_files.pop_front();
    return path;
}

QString ScriptedDialogs::getSaveFileName(QWidget *, const SaveFileRequest &request)
{
    m_saveFileRequests.push_back(request);
    if (m_saveFiles.empty()) {
        ADD_FAILURE() << "unexpected save dialog: " << request.title.toStdString();
        return {};
    }
    const QString path = m_saveFiles.front();
    m_saveFiles.pop_front();
    return path;
}

int ScriptedDialogs::chooseItem(QWidget *, const ChoiceRequest &request)
{
    m_choiceRequests.push_back(request);
    if (m_choices.empty()) {
        ADD_FAILURE() << "unexpected chooser: " << request.title.toStdString();
        return -1;
    }
    const int index = m_choices.front();
    m_choices.pop_front();
    return index;
}
