// The dialog machinery: building from templates, set-up, OK, Cancel, Help,
// the keyboard, and texts in and out.

#include "framework/Accessible.h"
#include "framework/MessageBox.h"
#include "framework/TDialog.h"
#include "resources/DialogTemplates.h"
#include "tests/gui/DialogDriver.h"
#include "tests/support/SkipOrFail.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dcclient.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

namespace {
using Dialogs = WindowTest;

bool isKind(wxWindow* w, DialogControlKind kind)
{
    switch (kind) {
    case DialogControlKind::Static:
        return dynamic_cast<wxStaticText*>(w);
    case DialogControlKind::Edit:
        return dynamic_cast<wxTextCtrl*>(w);
    case DialogControlKind::Button:
    case DialogControlKind::DefaultButton:
        return dynamic_cast<wxButton*>(w);
    case DialogControlKind::CheckBoxLeft:
        return dynamic_cast<wxCheckBox*>(w);
    case DialogControlKind::Icon:
        return dynamic_cast<wxStaticBitmap*>(w);
    case DialogControlKind::Group:
        return true;
    }
    return false;
}

std::vector<int> templateNumbers()
{
    std::vector<int> numbers;
    for (int n = 1; n <= 11; ++n)
        if (dialogTemplate(n))
            numbers.push_back(n);
    return numbers;
}

TEST_F(Dialogs, EveryTemplateIsBuiltWithItsCaptionFontSizeAndControlsInOrder)
{
    EXPECT_EQ(templateNumbers(), (std::vector<int> { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11 }));
    for (int n : templateNumbers()) {
        SCOPED_TRACE("template " + std::to_string(n));
        const DialogTemplate& t = *dialogTemplate(n);
        TDialog d(window, n);
        EXPECT_EQ(d.GetTitle(), t.caption);

        // The font is a real face standing in for the template's, at its size.
        const wxFont font = d.GetFont();
        EXPECT_TRUE(font.IsOk());
        EXPECT_EQ(font.GetPointSize(), 8);
        EXPECT_FALSE(font.GetFaceName().empty());
        EXPECT_EQ(d.GetClientSize(), d.ConvertDialogToPixels(wxSize(t.width, t.height)));

        // Every control of the template; the Tab order goes row by row
        // from the top, each row from the left, as they are seen.
        const wxWindowList& children = d.GetChildren();
        ASSERT_EQ(children.size(), t.controls.size());
        for (auto a = children.begin(), b = std::next(a); b != children.end(); ++a, ++b) {
            const wxPoint p = (*a)->GetPosition(), q = (*b)->GetPosition();
            EXPECT_TRUE(q.y >= p.y - 6 && (std::abs(q.y - p.y) > 6 || q.x >= p.x))
                << (*a)->GetId() << " before " << (*b)->GetId();
        }
        for (const DialogControlDef& def : t.controls) {
            wxWindow* w = d.control(def.id);
            SCOPED_TRACE("control " + std::to_string(def.id));
            ASSERT_NE(w, nullptr);
            EXPECT_EQ(w->GetId(), def.id < 32767 ? def.id : wxID_STATIC);
            EXPECT_TRUE(isKind(w, def.kind));
            EXPECT_EQ(w->IsShown(), !(def.style & DS_HIDDEN));
            if (def.kind != DialogControlKind::Edit && def.kind != DialogControlKind::Icon) {
                EXPECT_EQ(d.text(def.id), def.text);
            }
        }
    }
}

// A text that fits wraps into no more lines than its control has room for,
// and no word is wider than the control.
TEST_F(Dialogs, EveryTextFitsItsControl)
{
    for (int n : templateNumbers()) {
        SCOPED_TRACE("template " + std::to_string(n));
        TDialog d(window, n);
        wxClientDC dc(&d);
        dc.SetFont(d.GetFont());
        const int lineHeight = dc.GetCharHeight();
        for (const DialogControlDef& def : dialogTemplate(n)->controls) {
            if (!*def.text)
                continue;
            SCOPED_TRACE(def.text);
            const wxRect r = d.control(def.id)->GetRect();
            if (def.kind == DialogControlKind::Static) {
                int lines = 0;
                int lineWidth = 0;
                const wxString text = wxString::FromUTF8(def.text);
                for (const wxString& paragraph : wxSplit(text, '\n', 0)) {
                    ++lines;
                    lineWidth = 0;
                    for (const wxString& word : wxSplit(paragraph, ' ', 0)) {
                        const int w = dc.GetTextExtent(word).x;
                        const int space = lineWidth ? dc.GetTextExtent(" ").x : 0;
                        ASSERT_LE(w, r.width);
                        if (lineWidth + space + w > r.width) {
                            ++lines;
                            lineWidth = w;
                        } else {
                            lineWidth += space + w;
                        }
                    }
                }
                EXPECT_LE(lines * lineHeight, r.height) << lines << " lines";
            } else if (def.kind == DialogControlKind::Button
                || def.kind == DialogControlKind::DefaultButton) {
                EXPECT_LE(dc.GetTextExtent(def.text).x + 8, r.width);
                EXPECT_LE(lineHeight, r.height);
            } else if (def.kind == DialogControlKind::CheckBoxLeft) {
                // Placed at its natural size, so the text is never clipped;
                // the box keeps to the right edge of its template rectangle.
                const wxPoint from = d.ConvertDialogToPixels(wxPoint(def.x, def.y));
                const wxPoint to = d.ConvertDialogToPixels(wxPoint(def.x + def.width, def.y + def.height));
                const wxRect cell(from, wxSize(to.x - from.x, to.y - from.y));
                EXPECT_EQ(r.GetRight(), cell.GetRight());
                EXPECT_GE(r.width, dc.GetTextExtent(def.text).x);
            }
        }
    }
}

TEST_F(Dialogs, EditsAcceptOneCharacterLessThanTheirLimit)
{
    for (int n : templateNumbers()) {
        TDialog d(window, n);
        for (const DialogControlDef& def : dialogTemplate(n)->controls) {
            if (def.kind != DialogControlKind::Edit)
                continue;
            typeInto(d, def.id, std::string(100, 'x'));
            EXPECT_EQ(d.text(def.id).size(), static_cast<std::size_t>(def.limit - 1))
                << "template " << n << " edit " << def.id;
        }
    }
}

// A dialog that records what the framework runs.
class ProbeDialog : public TDialog {
public:
    explicit ProbeDialog(wxWindow* parent)
        : TDialog(parent, 5)
    {
    }
    int setUps = 0;
    int oks = 0;

protected:
    void setupWindow() override
    {
        ++setUps;
        setText(102, "from set-up");
    }
    void cmOk() override
    {
        ++oks;
        if (text(102) == "close")
            closeWindow(IDOK);
    }
};

TEST_F(Dialogs, SetUpRunsOnceBeforeTheScriptAndOkCancelHelpDoTheirParts)
{
    ProbeDialog d(window);
    expectDialog(dialogs(), [&](TDialog&) {
        EXPECT_EQ(d.setUps, 1);
        EXPECT_EQ(d.text(102), "from set-up");
        // Each box is named for a screen reader by its prompt.
        EXPECT_EQ(accessibleName(d.control(102)), "Maximum Y-Value");
        // Opened over the top left corner of the owner's client area.
        EXPECT_EQ(d.GetScreenPosition(), window->ClientToScreen(wxPoint(0, 0)));
        // Help opens the help text the template names, over the dialog.
        std::string help;
        dialogs().expect([&](wxDialog* shown) {
            help = std::string(shown->GetTitle().utf8_str());
            return wxID_CANCEL;
        });
        press(d, 9);
        EXPECT_EQ(help, dialogTemplate(dialogTemplate(d.templateNumber())->help)->caption);
        EXPECT_TRUE(d.IsModal()) << "Help closed the dialog";
        press(d, 1);
        EXPECT_EQ(d.oks, 1);
        EXPECT_TRUE(d.IsModal()) << "an OK that does not close left the dialog";
        typeInto(d, 102, "close");
        press(d, 1);
        EXPECT_FALSE(d.IsModal());
    });
    EXPECT_EQ(d.execute(), IDOK);
    EXPECT_EQ(d.setUps, 1);

    ProbeDialog c(window);
    expectDialog(dialogs(), [](TDialog& shown) { press(shown, 2); });
    EXPECT_EQ(c.execute(), IDCANCEL);
    EXPECT_EQ(c.oks, 0);

    // The close box is Cancel too.
    ProbeDialog x(window);
    expectDialog(dialogs(), [](TDialog& shown) { shown.Close(); });
    EXPECT_EQ(x.execute(), IDCANCEL);
}

bool focusIn(wxWindow* d) { return wxWindow::FindFocus() && d->IsDescendant(wxWindow::FindFocus()); }

// Real key presses through the display server: Enter presses OK, Escape
// presses Cancel, and typing lands in the first box.
TEST_F(Dialogs, EnterPressesOkAndEscapeCancels)
{
    for (int key : { WXK_RETURN, WXK_ESCAPE }) {
        TDialog d(window, 5);
        std::string typed;
        expectDialog(dialogs(), [key, &typed](TDialog& shown) {
            wxUIActionSimulator keyboard;
            keyboard.MouseMove(shown.GetScreenPosition() + wxPoint(4, 4));
            waitUntil([&shown] { return focusIn(&shown); }, 1000);
            keyboard.Text("12");
            keyboard.Char(key);
            waitUntil([&shown] { return !shown.IsModal(); }, 2000);
            typed = shown.text(101);
        });
        EXPECT_EQ(d.execute(), key == WXK_RETURN ? IDOK : IDCANCEL);
        EXPECT_EQ(typed, "12");
    }
}

TEST_F(Dialogs, TextsTravelInTheCodePageAndEditsKeepWhatFits)
{
    TDialog d(window, 2);
    // Every byte but the terminator goes in and comes out as itself, the
    // code page's undefined bytes included.
    for (int b = 1; b <= 0xFF; b += 11) {
        const std::string bytes { static_cast<char>(b), static_cast<char>(b + 5 <= 0xFF ? b + 5 : 0x80),
            'A' };
        d.setText(103, bytes);
        EXPECT_EQ(d.text(103), bytes) << b;
    }
    auto* edit = dynamic_cast<wxTextCtrl*>(d.control(103));
    ASSERT_NE(edit, nullptr);
    d.setText(103,
        "\x81\x86"
        "A");
    EXPECT_EQ(edit->GetValue(), wxString::FromUTF8("\u0081\u2020A"));
    d.setText(103, "\x80\x9F\xE9");
    EXPECT_EQ(edit->GetValue(), wxString::FromUTF8("\u20ac\u0178\u00e9"));
    // What the code page cannot hold is refused as it is typed or pasted,
    // with the caret kept after what was typed.
    typeInto(d, 103, "5\u20ac\u2713\u4e2d7");
    EXPECT_EQ(d.text(103),
        "5\x80"
        "7");
    edit->SetValue("a");
    edit->SetInsertionPointEnd();
    edit->WriteText(wxString::FromUTF8("\u2713b"));
    EXPECT_EQ(d.text(103), "ab");
    EXPECT_EQ(edit->GetInsertionPoint(), 2);
    // A text longer than the edit takes keeps what fits.
    d.setText(103, "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(d.text(103), "ABCDEFGHIJK");
    d.setText(101, "prompt");
    EXPECT_EQ(d.text(101), "prompt");
    d.show(101, false);
    EXPECT_FALSE(d.control(101)->IsShown());
    EXPECT_EQ(d.control(999), nullptr);
    EXPECT_EQ(d.text(999), "");
}
// Every box shows the icon its flags ask for, with its own buttons.
TEST_F(Dialogs, MessageBoxesShowTheIconTheyAskFor)
{
    const struct {
        unsigned flags;
        const char* icon;
        bool yesNo;
    } cases[] = {
        { MB_OK, nullptr, false },
        { MB_OK | MB_ICONEXCLAMATION, "dialog-warning", false },
        { MB_YESNO | MB_ICONQUESTION, "dialog-question", true },
        { MB_OK | MB_ICONSTOP, "dialog-error", false },
        { MB_OK | MB_ICONINFORMATION, "dialog-information", false },
    };
    for (const auto& c : cases) {
        TMessageBox box(window, "Text & more", "Caption", c.flags);
        EXPECT_EQ(box.GetTitle(), "Caption");
        EXPECT_EQ(box.GetMessage(), "Text & more");
        EXPECT_STREQ(box.iconName() ? box.iconName() : "", c.icon ? c.icon : "");
        int bitmaps = 0;
        for (wxWindow* child : box.GetChildren())
            bitmaps += dynamic_cast<wxStaticBitmap*>(child) != nullptr;
        EXPECT_EQ(bitmaps, c.icon ? 1 : 0) << c.flags;
        EXPECT_EQ(box.FindWindow(wxID_YES) != nullptr, c.yesNo);
        EXPECT_EQ(box.FindWindow(wxID_NO) != nullptr, c.yesNo);
        EXPECT_EQ(box.FindWindow(wxID_OK) != nullptr, !c.yesNo);
    }
}

// A box raised while a dialog is up belongs to that dialog, whoever asks for
// it; with no dialog up it belongs to the window that asked.
TEST_F(Dialogs, AMessageBoxRaisedWhileADialogIsUpBelongsToTheDialog)
{
    expectDialog(dialogs(), [this](TDialog& d) {
        window->messageBox("From the window", "Caption", MB_OK);
        d.messageBox("From the dialog", "Caption", MB_OK);
        press(d, 2);
    });
    dialogs().expectMessage();
    dialogs().expectMessage();
    TDialog(window, 8).execute();
    dialogs().expectMessage();
    window->messageBox("After it", "Caption", MB_OK);
    ASSERT_EQ(messages().size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(messages()[i].owner, i < 2 ? "Extend X-Axis" : "Plotwell (Version 2.0)") << i;
    messages().clear();
}

// Real key presses on a shown box: Y and N answer a question, Enter presses
// the default button (Yes, or No when asked for) and Escape No, or OK on a
// box that has only OK.
TEST_F(Dialogs, MessageBoxesAnswerTheirKeys)
{
    const struct {
        unsigned flags;
        int key;
        int result;
    } cases[] = {
        { MB_YESNO | MB_ICONQUESTION, 'y', IDYES }, { MB_YESNO | MB_ICONQUESTION, 'N', IDNO },
        { MB_YESNO | MB_ICONQUESTION, WXK_RETURN, IDYES }, { MB_YESNO | MB_ICONQUESTION, WXK_ESCAPE, IDNO },
        // No as the default: Enter and Escape both answer No, Y still Yes.
        { MB_YESNO | MB_DEFBUTTON2, WXK_RETURN, IDNO }, { MB_YESNO | MB_DEFBUTTON2, WXK_ESCAPE, IDNO },
        { MB_YESNO | MB_DEFBUTTON2, 'y', IDYES }, { MB_OK | MB_ICONEXCLAMATION, WXK_RETURN, IDOK },
        { MB_OK, WXK_ESCAPE, IDOK }, { MB_OK, 'n', -1 }, // no answer: the box stays until Enter
    };
    bool focused = true;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        dialogs().expect([&focused, c](wxDialog* d) {
            d->CallAfter([d, &focused, c] {
                d->Raise();
                focused = waitUntil([d] { return focusIn(d); }, 500);
                if (!focused) {
                    d->EndModal(wxID_CANCEL);
                    return;
                }
                const auto answered = [d] { return d->GetReturnCode() != 0; };
                wxUIActionSimulator keys;
                keys.Char(c.key);
                waitUntil(answered, 200);
                if (c.result == -1) {
                    EXPECT_EQ(d->GetReturnCode(), 0) << "the key answered the box";
                    keys.Char(WXK_RETURN);
                    waitUntil(answered, 200);
                }
                if (d->GetReturnCode() == 0) {
                    ADD_FAILURE() << "the key did not answer the box";
                    d->EndModal(wxID_CANCEL);
                }
            });
            return static_cast<int>(wxID_NONE);
        });
        const int result = MessageBox(window, "Question", "Keys", c.flags);
        if (!focused)
            SKIP_OR_FAIL_IN_CI("this display gives no keyboard focus");
        EXPECT_EQ(result, c.result == -1 ? IDOK : c.result);
    }
    messages().clear();
}
} // namespace
