#pragma once
// Shared fixture for tests that drive the real main window on a (virtual)
// display. Every modal dialog or message box must be expected by the test:
// an unexpected one fails the test and is cancelled, so nothing ever hangs.

#include "document/GraphDocument.h"
#include "ui/TWndw.h"

#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <wx/dialog.h>

class wxDialog;

// What a scripted dialog answer sees and returns. Returning wxID_NONE lets the
// dialog run its own modal loop (for dialogs whose set-up and OK handler the
// test drives through CallAfter).
using DialogAnswer = std::function<int(wxDialog*)>;

// Tests spell typed texts in UTF-8; bytes that are not UTF-8 are the
// program's code page.
wxString typedText(const std::string& text);

struct ShownMessage {
    std::string text;
    std::string caption;
    long style = 0;
    std::string owner; // title of the window that owns the box
};

class DialogScript {
public:
    static DialogScript& instance();
    void expect(DialogAnswer answer) { answers.push_back(std::move(answer)); }
    // Expects a message box and answers it with `button` (wxID_OK, wxID_YES, ...).
    void expectMessage(int button = wxID_OK);
    // The same, ahead of everything already expected.
    void expectMessageFirst(int button);
    // Expects a message box and answers it by a real key press, as a user
    // would; noFocus is set when the display gives the box no focus.
    void expectKey(int key, bool& noFocus);
    void reset();
    bool allUsed() const { return answers.empty(); }
    // Answers every dialog nothing was expected for, instead of failing;
    // an empty function restores the failure.
    void setFallback(DialogAnswer answer) { fallback = std::move(answer); }
    std::vector<ShownMessage> messages;
    int answerNext(wxDialog* dialog);

private:
    std::deque<DialogAnswer> answers;
    DialogAnswer fallback;
};

// The random session's length and seed, from --steps N and --seed S on the
// test program's command line.
struct SessionOptions {
    long steps = 3000;
    unsigned long seed = 20261208;
};
SessionOptions& sessionOptions();

// Runs the toolkit's events until `condition` holds or `ms` milliseconds
// have passed; true when it holds. The one way tests wait for the display.
bool waitUntil(const std::function<bool()>& condition, int ms = 2000);

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Sends a command as a menu item or control would.
    void command(int id);
    void click(int id); // presses a button, radio button or check box
    void leftClick(int x, int y); // mouse down on the client area
    void rightClick(int x, int y);
    void type(int id, const std::string& text);
    bool shown(int id) const;
    bool menuEnabled(int id);
    // Whether the window holds unsaved work, 1 or 0, as the close query asks.
    int dirty() const { return window->session().isDirty() ? 1 : 0; }
    // The graph as it stands is taken as the one just opened: nothing to
    // undo, nothing unsaved.
    void asOpened() { window->session().opened(); }
    // Runs pending events, including the repaint, and returns the last
    // message box texts shown since the previous call.
    void pump();
    std::vector<ShownMessage>& messages() { return DialogScript::instance().messages; }
    DialogScript& dialogs() { return DialogScript::instance(); }

    TWndw* window = nullptr;
};
