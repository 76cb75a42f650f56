#include "ModalDialog.h"

#include "editing/TopicListTree.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

bool withModalDialog(const std::function<void()> &open, const std::function<void(QDialog &)> &act)
{
    bool ran = false;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll.stop();
        ran = true;
        dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitFor([dialog] { return QApplication::activeWindow() == dialog; }, 2000));
        act(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    poll.start();
    open();
    return ran;
}

QString dialogLabel(QDialog &dialog, const char *name)
{
    auto *label = dialog.findChild<QLabel *>(QString::fromLatin1(name));
    EXPECT_TRUE(label) << name;
    return label ? label->text() : QString();
}

void pickInDialog(QDialog &dialog, const QString &tag)
{
    auto *tree = dialog.findChild<TopicListTree *>(QStringLiteral("tvwTopicList"));
    ASSERT_TRUE(tree);
    QTreeWidgetItem *node = tree->findNodeByTag(tag);
    ASSERT_TRUE(node) << tag.toStdString();
    tree->scrollToItem(node);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(node).center());
    ASSERT_EQ(tree->selectedNode(), node);
}
