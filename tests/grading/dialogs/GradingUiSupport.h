// The grading commands driven through the main window: a document with the
// program's own view, the settings the tables are laid out with, modal
// dialogs answered as a user answers them, and readers of the pages.
#pragma once

#include "grading/dialogs/CExcel.h"
#include "grading/CGradingPages.h"

#include "tests/grading/GradingPageSupport.h"
#include "tests/ui/ModalDriver.h"

#include "shell/CMainFrame.h"
#include "settings/CSystemSettings.h"
#include "app/CVEKDoc.h"
#include "app/CVEKView.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

class GradingUiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
        frame = std::make_unique<CMainFrame>();
        CSystemSettings& s = Settings();
        s.m_sizeDefaultPaper = CSize(21000, 29700);
        s.m_nDefaultMargin = {500, 500, 500, 500};
        s.m_lfDefaultFont.lfHeight = 318;
        s.m_nTableBorderWidth = 35;
        s.m_nTableInnerWidth = 25;
        s.m_nWorkUnit = 2;
        ASSERT_TRUE(frame->NewDocument());
        view = frame->GetEditingView();
        doc = frame->GetDocument();
        ASSERT_TRUE(view && doc);
    }
    void TearDown() override
    {
        EXPECT_EQ(driver.unexpected, 0);
        EXPECT_TRUE(driver.Idle());
    }

    CPageSet& Pages() const { return *doc->GetPageSet(); }
    bool Enabled(UINT id) const { return view->IsCommandEnabled(id); }
    QString File(const QString& name) const { return home.filePath(name); }
    void WriteFile(const QString& path, const std::string& bytes) const
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), qint64(bytes.size()));
    }

public:
    // Handlers for the driver. What they do runs from the dialog's own
    // event loop, as a user's input would: the dialogs and message boxes it
    // opens in turn reach the driver.
    template <class D> static ModalDriver::Handler With(std::function<void(D*)> act)
    {
        return [act](QWidget* w) {
            auto* dialog = qobject_cast<D*>(w);
            ASSERT_TRUE(dialog) << w->metaObject()->className();
            QTimer::singleShot(0, dialog, [dialog, act] { act(dialog); });
        };
    }
    static ModalDriver::Handler ChooseFileHandler(const QString& path)
    {
        // Typed into the name box, as a user types it.
        return With<QFileDialog>([path](QFileDialog* dialog) {
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_TRUE(name);
            name->setText(path);
            static_cast<QDialog*>(dialog)->accept();
        });
    }
    static ModalDriver::Handler Answer(bool yes)
    {
        return With<QDialog>([yes](QDialog* dialog) {
            if (yes) dialog->accept();
            else dialog->reject();
        });
    }

protected:
    static void Key(QWidget* w, int key)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(w, &release);
    }
    // A click on a list's entry, as the mouse gives it.
    static void ClickRow(QListWidget* list, int row)
    {
        QListWidgetItem* item = list->item(row);
        ASSERT_TRUE(item);
        list->scrollToItem(item);
        const QPoint at = list->visualItemRect(item).center();
        QWidget* port = list->viewport();
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent e(type, QPointF(at), port->mapToGlobal(QPointF(at)), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(port, &e);
        }
    }
    static QStringList Texts(const QListWidget* list)
    {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
        return texts;
    }

    QTemporaryDir home;
    std::unique_ptr<CMainFrame> frame;
    CVEKView* view = nullptr;
    CVEKDoc* doc = nullptr;
    ModalDriver driver;
};
