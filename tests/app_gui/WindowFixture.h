#pragma once
// A shown main window whose dialogs are answered from a script, with helpers
// to drive it through its actions. A dialog that was not scripted fails the
// test and is cancelled.

#include "app/MainWindow.h"
#include "model/LayoutFile.h"
#include "support/DialogControls.h"
#include "support/ScriptedPrompts.h"
#include "support/ShownOnScreen.h"
#include "support/TestData.h"
#include "view/gui/BoardView.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QSpinBox>
#include <QTabBar>
#include <QTest>
#include <QWindow>

#include <memory>
#include <tuple>

namespace kestrel::test {

using Answer = Prompts::Answer;
using Layers = std::array<uint8_t, 4>;

constexpr int32_t kGridStep = 254; // the default grid

// gx grid steps right of and gy below the board's top-left corner.
inline Point at(int gx, int gy)
{
    return {gx * kGridStep, -gy * kGridStep};
}

class WindowFixture : public ScriptedPrompts {
public:
    // The pixel positions of the tests assume a 1200 x 800 window showing
    // the board at zoom 0.1; keepStartView leaves the view as start-up made it.
    explicit WindowFixture(Language lang = Language::English, const QString& startupFile = {},
                           bool keepStartView = false, const QStringList& filesLeftOut = {})
        : window_(std::make_unique<MainWindow>(lang, *this))
    {
        window_->setStartupFile(startupFile);
        window_->setFilesLeftOut(filesLeftOut);
        window_->show();
        // Keys reach the board view only in the active window.
        window_->activateWindow();
        (void)QTest::qWaitForWindowActive(window_.get());
        QCoreApplication::processEvents(); // the start-up fit runs once the layout is done
        if (!keepStartView) {
            window_->resize(1200, 800);
            BoardSettings& view = window_->document().Working;
            std::tie(view.Zoom, view.ScrollX, view.ScrollY) = std::make_tuple(0.1, 0, 0);
            window_->boardView().reloadFromDocument();
        }
    }
    ~WindowFixture() override { window_->hide(); } // nothing may ask on the way out

    MainWindow& window() { return *window_; }
    LayoutDocument& doc() { return window_->document(); }
    ObjectList& list() { return *doc().currentObjects(); }

    template <class T = QAction> T& control(const char* name) { return child<T>(*window_, name); }
    QAction& action(const char* name) { return control<QAction>(name); }
    // Triggers an action the way a menu click does: only when it is enabled.
    void trigger(const char* name)
    {
        if (!action(name).isEnabled())
            throw std::runtime_error(std::string("disabled: ") + name);
        action(name).trigger();
    }
    std::vector<std::string> tabTexts()
    {
        std::vector<std::string> out;
        for (int i = 0; i < window_->boardTabs().count(); ++i)
            out.push_back(window_->boardTabs().tabText(i).toStdString());
        return out;
    }
    // A track drawn on the active board: New, Open and closing then ask first.
    void addContent()
    {
        addTrack(list(), {{1000, -1000}, {3000, -1000}}, 40);
        doc().Modified = true;
        window_->updateCommandStates();
    }
    // Empty boards added through the command, their size dialog cancelled.
    void addBoards(int count)
    {
        for (int i = 0; i < count; ++i) {
            dialogs.push_back(cancel);
            trigger("NeuePlatine1");
        }
    }

    // The title as the window system shows it.
    QString shownTitle()
    {
        window_->winId();
        return window_->windowHandle()->title();
    }
    // The edit tool's pointer on the drawing area, at board points.
    QWidget* paintBox() { return window_->boardView().paintBox(); }
    QPoint pixelOf(Point p) { return window_->boardView().boardToScreen(p); }
    void click(Point p, Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        QTest::mouseClick(paintBox(), Qt::LeftButton, keys, pixelOf(p));
    }
    void pressAndMove(Point from, Point to, Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        QTest::mousePress(paintBox(), Qt::LeftButton, keys, pixelOf(from));
        QTest::mouseMove(paintBox(), pixelOf(to));
    }
    void release(Point p, Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        QTest::mouseRelease(paintBox(), Qt::LeftButton, keys, pixelOf(p));
    }
    void moveTo(Point p) { QTest::mouseMove(paintBox(), pixelOf(p)); }
    // The colour the window shows at a board point, once the pending repaints
    // are done (test::shownOnScreen).
    QRgb shownPixel(Point p) { return shownOnScreen(paintBox()).pixel(pixelOf(p)); }
    void rightClick(Point p) { QTest::mouseClick(paintBox(), Qt::RightButton, Qt::NoModifier, pixelOf(p)); }
    // Text typed over what a panel field shows, not yet entered.
    QDoubleSpinBox& typeInto(const char* field, const char* text)
    {
        auto& edit = control<QDoubleSpinBox>(field);
        edit.setFocus();
        edit.selectAll();
        QTest::keyClicks(&edit, text);
        return edit;
    }
    // A tool chosen with its button on the tool panel.
    void tool(const char* button) { control<QAbstractButton>(button).click(); }
    // A key pressed while the board view has the focus.
    void key(Qt::Key k, Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        QWidget* box = window_->boardView().scrollBox();
        box->setFocus();
        QTest::keyClick(box, k, keys);
    }
    // List positions of the selected objects of the active board.
    std::vector<size_t> selected()
    {
        std::vector<size_t> out;
        for (size_t i = 0; i < list().size(); ++i)
            if (list()[i].Selected)
                out.push_back(i);
        return out;
    }

private:
    std::unique_ptr<MainWindow> window_;
};

// The settings file lives below a scratch HOME while a test runs, so the
// test neither reads nor changes another run's file.
class SettingsHome {
public:
    SettingsHome() : saved_(qgetenv("HOME")) { qputenv("HOME", QByteArray::fromStdString(dir_.path())); }
    ~SettingsHome() { qputenv("HOME", saved_); }
    SettingsHome(const SettingsHome&) = delete; // a copy would put HOME back twice
    SettingsHome& operator=(const SettingsHome&) = delete;

private:
    TempDir dir_;
    QByteArray saved_;
};

inline QString q(const std::string& s)
{
    return QString::fromStdString(s);
}

inline QString titleWith(const std::string& fileName)
{
    return "Kestrel 3.0 R - [" + q(fileName) + "]";
}

// The objects of the first board of a written layout file.
inline size_t objectsInFile(const std::string& path)
{
    auto back = readDocument(path, Language::English);
    EXPECT_TRUE(succeeded(back));
    return back ? back->document.board(0).Objects.size() : 0;
}

// The autosave dialog's script: switched on, with the interval if given.
inline ScriptedPrompts::DialogScript autoSaveOn(int minutes = 0)
{
    return [minutes](QDialog& d) {
        child<QCheckBox>(d, "RB_AutoSave").setChecked(true);
        if (minutes)
            child<QSpinBox>(d, "SE_Zyklus").setValue(minutes);
        return ScriptedPrompts::accept(d);
    };
}

// Writes the sample document to path and returns it.
inline LayoutDocument writeSample(const std::string& path)
{
    LayoutDocument sample = sampleDocument();
    const Status written = writeDocument(sample, path, false, Language::English);
    if (!written)
        throw std::runtime_error(written.message());
    return sample;
}

} // namespace kestrel::test
