#pragma once

#include "platform/ui/DesktopServices.h"
#include "platform/ui/UserDialogs.h"

#include <QString>
#include <QUrl>

#include <deque>
#include <functional>
#include <vector>

// Stands in for every message box, file dialog and chooser: records what was shown
// and answers from a script. A question nobody scripted an answer for fails
// the test (and is answered No, the harmless choice).
class ScriptedDialogs : public UserDialogs
{
public:
    struct Shown
    {
        MessageRequest request;
        MessageAnswer answer;
    };

    void answerNext(MessageAnswer answer) { m_answers.push_back(answer); }
    void chooseFileNext(const QString &path) { m_files.push_back(path); }
    void saveFileNext(const QString &path) { m_saveFiles.push_back(path); }
    // -1 cancels.
    void chooseItemNext(int index) { m_choices.push_back(index); }
    // Runs while the next message is up, e.g. to look at the window behind it.
    void whileNextMessageIsShown(std::function<void()> look) { m_look = std::move(look); }

    const std::vector<Shown> &shown() const { return m_shown; }
    const std::vector<OpenFileRequest> &fileRequests() const { return m_fileRequests; }
    const std::vector<SaveFileRequest> &saveFileRequests() const { return m_saveFileRequests; }
    const std::vector<ChoiceRequest> &choiceRequests() const { return m_choiceRequests; }
    QStringList shownTexts() const;
    QString lastText() const { return m_shown.empty() ? QString() : m_shown.back().request.text; }
    void forget();

    MessageAnswer showMessage(QWidget *parent, const MessageRequest &request) override;
    QString getOpenFileName(QWidget *parent, const OpenFileRequest &request) override;
    QString getSaveFileName(QWidget *parent, const SaveFileRequest &request) override;
    int chooseItem(QWidget *parent, const ChoiceRequest &request) override;

private:
    std::deque<MessageAnswer> m_answers;
    std::deque<QString> m_files;
    std::vector<Shown> m_shown;
    std::vector<OpenFileRequest> m_fileRequests;
    std::deque<QString> m_saveFiles;
    std::vector<SaveFileRequest> m_saveFileRequests;
    std::deque<int> m_choices;
    std::vector<ChoiceRequest> m_choiceRequests;
    std::function<void()> m_look;
};

class RecordingDesktop : public DesktopServices
{
public:
    bool openUrl(const QUrl &url) override
    {
        opened.push_back(url);
        return true;
    }
    bool openDefaultBrowser() override
    {
        ++defaultBrowserStarts;
        return true;
    }
    std::vector<QUrl> opened;
    int defaultBrowserStarts = 0;
};
