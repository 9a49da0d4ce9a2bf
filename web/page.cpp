// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The web page's side of the program: the core's host in a browser. The
// page (js/) draws the three screens as panels and calls the entry
// points at the bottom, one at a time; everything the procedures ask of
// their screens comes back through the few functions the page defines.
#include <emscripten.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/form1.h"
#include "core/form2.h"
#include "core/form4.h"
#include "core/format.h"
#include "core/lessonpage.h"
#include "core/live.h"
#include "core/looks.h"
#include "core/numtext.h"
#include "core/screen.h"
#include "core/text.h"

#include <nlohmann/json.hpp>

// The page's functions. Texts cross as UTF-16 units, as the fields hold them.
EM_JS(void, tc_page_blit,
      (int screen, const std::uint8_t* pixels, int bytesPerLine, int width, int height, const std::uint32_t* table,
       int colours, int x, int y, int w, int h),
      { TC.blit(screen, pixels, bytesPerLine, width, height, table, colours, x, y, w, h); });
EM_JS(void, tc_page_caption, (int screen, const char16_t* text, int length),
      { TC.setCaption(screen, TC.text16(text, length)); });
EM_JS(char16_t*, tc_page_text, (int control), { return TC.newText16(TC.controlText(control)); });
EM_JS(void, tc_page_set_text, (int control, const char16_t* text, int length),
      { TC.setControlText(control, TC.text16(text, length)); });
EM_JS(void, tc_page_back_color, (int control, std::uint32_t colour), { TC.setBackColor(control, colour); });
EM_JS(int, tc_page_checked, (int control), { return TC.checked(control) ? 1 : 0; });
EM_JS(void, tc_page_set_checked, (int control, int on), { TC.setChecked(control, on !== 0); });
EM_JS(void, tc_page_show, (int screen), { TC.show(screen); });
EM_JS(void, tc_page_front, (int screen), { TC.front(screen); });
EM_JS(void, tc_page_end, (), { TC.end(); });
EM_JS(void, tc_page_announce, (const char16_t* text, int length), { TC.announce(TC.text16(text, length)); });
EM_JS(void, tc_page_ticks, (int on), { TC.ticks(on !== 0); });
EM_JS(void, tc_page_busy, (int on), { TC.busy(on !== 0); });
EM_JS(double, tc_page_dpr, (), { return TC.density(); });
EM_JS(void, tc_page_describe, (const char16_t* text, int length), { TC.describe(TC.text16(text, length)); });
EM_JS(void, tc_page_value_text, (const char16_t* text, int length), { TC.valueText(TC.text16(text, length)); });
EM_JS(void, tc_page_lesson_link, (const char* bytes, int length), { TC.lessonLink(HEAPU8.slice(bytes, bytes + length)); });
EM_JS(void, tc_page_point, (const char16_t* text, int length, double x, double y),
      { TC.showPoint(TC.text16(text, length), x, y); });
// The samples, interleaved left and right, borrowed for the call.
EM_JS(bool, tc_page_play, (const std::int16_t* samples, int count, int rate),
      { return TC.playSound(HEAP16.subarray(samples >> 1, (samples >> 1) + count), rate); });
EM_JS(void, tc_page_stop_sound, (), { TC.stopSound(); });
EM_JS(bool, tc_page_sound_playing, (), { return TC.soundPlaying(); });
EM_JS(void, tc_page_menu, (bool slow, int pace, bool lesson, bool next, double x, double y), {
    TC.openMenu({slow : slow, pace : pace, lesson : lesson, next : next}, x, y);
});
EM_JS(void, tc_page_print,
      (const char* json, const std::uint8_t* pixels, int bytesPerLine, int width, int height,
       const std::uint32_t* table, int colours),
      { TC.printPage(JSON.parse(UTF8ToString(json)), TC.image(pixels, bytesPerLine, table, colours, 0, 0, width, height)); });
EM_JS(void, tc_page_download, (const char* name, const char* bytes, int length, const char* type),
      { TC.download(UTF8ToString(name), HEAPU8.slice(bytes, bytes + length), UTF8ToString(type)); });
EM_JS(void, tc_page_guide_picture,
      (const char* name, const std::uint8_t* pixels, int bytesPerLine, int width, int height,
       const std::uint32_t* table, int colours, int logicalWidth),
      {
          TC.guidePicture(UTF8ToString(name), TC.image(pixels, bytesPerLine, table, colours, 0, 0, width, height),
                          logicalWidth);
      });
// Whether a lesson is open and has a step to go, each time either may have
// changed: the title bar's button follows them.
EM_JS(void, tc_page_lesson_state, (bool open, bool next), { TC.lessonState(open, next); });
// The page as it was loaded, UTF-8, in memory the caller frees.
EM_JS(char*, tc_page_markup, (), {
    var bytes = new TextEncoder().encode(TC.markup);
    var p = _malloc(bytes.length + 1);
    HEAPU8.set(bytes, p);
    HEAPU8[p + bytes.length] = 0;
    return p;
});
// The title the user gives a lesson, `current` offered, in memory the
// caller frees; null when the user cancels. Waits without blocking the page.
EM_ASYNC_JS(char16_t*, tc_page_ask_title, (const char16_t* current, int length), {
    var title = await TC.askTitle(TC.text16(current, length));
    return title === null ? 0 : TC.newText16(title);
});
// A teacher's lesson so far, for the class's MQTT client (js/live.js).
EM_JS(void, tc_page_live_publish, (const char* bytes, int length), { TC.livePublish(HEAPU8.slice(bytes, bytes + length)); });
// Waits, without blocking the page, until the user closes the box.
EM_ASYNC_JS(void, tc_page_message, (int owner, const char16_t* text, int length, const char16_t* about, int aboutLength),
            { await TC.message(owner, TC.text16(text, length), TC.text16(about, aboutLength)); });

namespace tc::web {
namespace {

// A control's number on the page: its screen and its row in the screen's table.
constexpr int controlsPerScreen = 64;
int handleOf(ScreenId screen, int row) { return int(screen) * controlsPerScreen + row; }

template <std::size_t N>
int handleOf(ScreenId screen, const std::array<ControlSpec, N>& table, std::string_view name)
{
    for (std::size_t i = 0; i < N; ++i)
        if (name == table[i].name)
            return handleOf(screen, int(i));
    std::abort(); // a name the tables do not hold is the program's own mistake
}

class PageText : public TextControl {
public:
    explicit PageText(int handle) : handle_(handle) {}
    std::u16string text() const override
    {
        char16_t* units = tc_page_text(handle_);
        std::u16string s(units);
        std::free(units);
        return s;
    }
    void setText(std::u16string_view text) override { tc_page_set_text(handle_, text.data(), int(text.size())); }
    void setBackColor(Rgb colour) override { tc_page_back_color(handle_, colour); }

private:
    int handle_;
};

class PageOption : public OptionControl {
public:
    explicit PageOption(int handle) : handle_(handle) {}
    bool value() const override { return tc_page_checked(handle_) != 0; }
    void setValue(bool on) override { tc_page_set_checked(handle_, on ? 1 : 0); }

private:
    int handle_;
};

// The bar's position as of the change being handled: the page may have
// moved on already while earlier input waits its turn.
class PageBar : public ScrollControl {
public:
    int value() const override { return value_; }
    int value_ = Form2Core::barMinimum;
};

// A screen of the program as a panel of the page.
template <typename Core>
class PageScreen : public Core {
public:
    explicit PageScreen(Program& program) : Core(program)
    {
        this->surface().resizeClient(this->surface().clientSize(), tc_page_dpr());
    }
    // The page's density changed (a zoom, another monitor).
    void densityChanged(double dpr)
    {
        Surface& s = this->surface();
        s.resizeClient(s.clientSize(), dpr);
        surfaceChanged({0, 0, s.clientSize().width, s.clientSize().height});
    }

    // The picture the client area shows, in device pixels.
    static Size pictureSize(const Surface& s)
    {
        const double dpr = s.devicePixelRatio();
        return {int(std::lround(s.clientSize().width * dpr)), int(std::lround(s.clientSize().height * dpr))};
    }

protected:
    void surfaceChanged(const Rect& logical) override
    {
        const Surface& s = this->surface();
        const double dpr = s.devicePixelRatio();
        const Size device = pictureSize(s);
        const int left = int(std::floor(logical.x * dpr)), top = int(std::floor(logical.y * dpr));
        const Rect r = Rect::fromCorners(left, top, int(std::ceil((logical.x + logical.width) * dpr)) - 1,
                                         int(std::ceil((logical.y + logical.height) * dpr)) - 1)
                           .intersected({0, 0, device.width, device.height});
        if (r.isEmpty())
            return;
        const auto& table = s.colourTable();
        tc_page_blit(int(this->id()), s.pixels(), int(s.bytesPerLine()), device.width, device.height, table.data(),
                     int(table.size()), r.x, r.y, r.width, r.height);
    }
    void captionChanged() override
    {
        tc_page_caption(int(this->id()), this->caption().data(), int(this->caption().size()));
    }
};

class PageForm2 : public PageScreen<Form2Core> {
public:
    explicit PageForm2(Program& program) : PageScreen(program), text_(handleOf(ScreenId::Form2, controls, "Text1"))
    {
        HScroll1 = &bar_;
        Text1 = &text_;
    }
    void Form_Activate() override
    {
        Form2Core::Form_Activate();
        ratioShown();
    }
    // The bar's value as assistive technology tells it: the ratio it sets.
    void ratioShown()
    {
        const std::u16string text = numberToText16(INCR.toDouble());
        tc_page_value_text(text.data(), int(text.size()));
    }
    PageBar bar_;

private:
    PageText text_;
};

class PageForm4 : public PageScreen<Form4Core> {
public:
    explicit PageForm4(Program& program) : PageScreen(program)
    {
        const auto bind = [](auto& made, const char* name, auto*& slot) {
            slot = &made.emplace_back(handleOf(ScreenId::Form4, controls, name));
        };
        texts_.reserve(5);
        options_.reserve(3);
        bind(texts_, "Text1", Text1);
        bind(texts_, "Text2", Text2);
        bind(texts_, "Text3", Text3);
        bind(texts_, "Text4", Text4);
        bind(texts_, "Text10", Text10);
        bind(options_, "Option3", Option3);
        bind(options_, "Option4", Option4);
        bind(options_, "Option5", Option5);
    }

protected:
    void drawingDescribed() override
    {
        const std::u16string text = drawnCurves().description();
        tc_page_describe(text.data(), int(text.size()));
    }
    // Every change of a lesson's state shows in the caption.
    void captionChanged() override
    {
        PageScreen::captionChanged();
        tc_page_lesson_state(lessonOpen(), lessonHasNextStep());
    }

private:
    std::vector<PageText> texts_;
    std::vector<PageOption> options_;
};

class PageHost : public Host {
public:
    Rgb buttonFace() override { return rgb(239, 239, 239); }

    void msgBox(ScreenCore& owner, std::u16string_view prompt, std::u16string_view about) override
    {
        tc_page_message(int(owner.id()), prompt.data(), int(prompt.size()), about.data(), int(about.size()));
    }
    void end() override
    {
        program->ended();
        tc_page_end();
    }
    ScreenCore& screen(ScreenId id) override
    {
        switch (id) {
        case ScreenId::Form1:
            return made(form1);
        case ScreenId::Form2:
            return made(form2);
        case ScreenId::Form4:
            return made(form4);
        }
        std::abort();
    }
    void show(ScreenId id) override
    {
        ScreenCore& s = screen(id);
        tc_page_show(int(id));
        // Shown by the program, the screen becomes the active one at once,
        // as a window shown on the desktop does.
        program->activate(s, [] {});
        tc_page_front(int(id));
    }
    void announce(std::u16string_view text) override { tc_page_announce(text.data(), int(text.size())); }
    bool announcementsHeard() override { return true; } // a live region: whoever listens
    std::int64_t monotonicMs() override { return std::int64_t(emscripten_get_now()); }
    void startTicks(std::function<void()> tick) override
    {
        tick_ = std::move(tick);
        tc_page_ticks(1);
    }
    void stopTicks() override
    {
        tick_ = {};
        tc_page_ticks(0);
    }
    void setBusy(bool busy) override { tc_page_busy(busy ? 1 : 0); }
    bool playSound(const Sound& sound) override
    {
        return tc_page_play(sound.samples.data(), int(sound.samples.size()), sound.rate);
    }
    void stopSound() override { tc_page_stop_sound(); }
    bool soundPlaying() override { return tc_page_sound_playing(); }

    void tick()
    {
        if (tick_)
            tick_();
    }

    Program* program = nullptr;
    std::unique_ptr<PageScreen<Form1Core>> form1;
    std::unique_ptr<PageForm2> form2;
    std::unique_ptr<PageForm4> form4;

private:
    template <typename S>
    S& made(std::unique_ptr<S>& s)
    {
        if (!s)
            s = std::make_unique<S>(*program);
        return *s;
    }
    std::function<void()> tick_;
};

// The class the page is in, if any, and its link to the page's MQTT client.
class PageLink : public live::Link {
public:
    void publish(std::string_view bytes) override { tc_page_live_publish(bytes.data(), int(bytes.size())); }
};

struct PageLive {
    PageLink link;
    std::unique_ptr<live::LiveClass> inClass;
};

PageLive& pageLive()
{
    static PageLive l;
    return l;
}

PageHost& host()
{
    static PageHost h;
    return h;
}

Program& program()
{
    static Program p(host());
    return p;
}

// ---- the guide's pictures of curves ------------------------------------------

// A control of a screen no one sees: it keeps what the procedures write.
class KeptText : public TextControl {
public:
    explicit KeptText(std::u16string text = {}) : text_(std::move(text)) {}
    std::u16string text() const override { return text_; }
    void setText(std::u16string_view text) override { text_ = text; }
    void setBackColor(Rgb) override {}

private:
    std::u16string text_;
};

// One of a frame's options: choosing it leaves the others of `group`.
class KeptOption : public OptionControl {
public:
    bool value() const override { return on_; }
    void setValue(bool on) override
    {
        if (on)
            for (KeptOption& o : group)
                o.on_ = false;
        on_ = on;
    }
    std::span<KeptOption> group;

private:
    bool on_ = false;
};

template <typename Core>
class OffPage : public Core {
public:
    using Core::Core;

protected:
    void surfaceChanged(const Rect&) override {}
    void captionChanged() override {}
};

// A picture of the guide: the calibration bar moved `bar` steps on from
// where it starts, OK, then `steps` played on Form4 as a lesson plays them.
struct GuidePicture {
    std::string_view name;
    int bar;
    std::vector<lesson::Step> steps;
};

const std::vector<GuidePicture>& guidePictures()
{
    using lesson::Command;
    using lesson::Curve;
    const auto step = [](Command c, Curve curve, std::u16string_view from, std::u16string_view to) {
        return lesson::Step{c, curve, {u"0,477", std::u16string(from), std::u16string(to), u"1", u"0,5"}};
    };
    // At 0,69, the ratio the guide gives for square pixels.
    static const std::vector<GuidePicture> pictures = {
        {"guida-ellisse", 8, {step(Command::DallOrigine, Curve::Ellisse, u"0", u"180")}},
        {"guida-iperbole-negativa", 8, {step(Command::DallOrigine, Curve::Iperbole, u"-180", u"0")}},
        {"guida-continua", 8,
         {step(Command::DallOrigine, Curve::Ellisse, u"0", u"180"), step(Command::Continua, Curve::Iperbole, u"0", u"180")}},
    };
    return pictures;
}

// The program once more, off the page, for one picture of the guide: the
// same procedures draw the same pixels as on the screens, and nothing of it
// is shown but the picture.
class GuideProgram : public Host {
public:
    explicit GuideProgram(double dpr) : program_(*this)
    {
        form2_ = std::make_unique<OffPage<Form2Core>>(program_);
        form2_->HScroll1 = &bar_;
        form2_->Text1 = &ratio_;
        form4_ = std::make_unique<OffPage<Form4Core>>(program_);
        form4_->surface().resizeClient(form4_->surface().clientSize(), dpr);
        for (std::size_t i = 0; i < texts_.size(); ++i)
            texts_[i] = KeptText(fromUtf8(Form4Core::captionOf(textNames[i])));
        form4_->Text1 = &texts_[0], form4_->Text2 = &texts_[1], form4_->Text3 = &texts_[2];
        form4_->Text4 = &texts_[3], form4_->Text10 = &texts_[4];
        form4_->Option3 = &options_[0], form4_->Option4 = &options_[1], form4_->Option5 = &options_[2];
        for (KeptOption& o : options_)
            o.group = options_;
        options_[0].setValue(true);
    }

    const Surface& draw(const GuidePicture& picture)
    {
        program_.activate(*form2_);
        bar_.value_ = Form2Core::barMinimum + picture.bar;
        form2_->HScroll1_Change();
        form2_->Command1_Click();
        form4_->openLesson({u"", picture.steps}, u"");
        while (form4_->lessonHasNextStep())
            form4_->nextStep();
        return form4_->surface();
    }

    Rgb buttonFace() override { return host().buttonFace(); }
    void msgBox(ScreenCore&, std::u16string_view, std::u16string_view) override {}
    void end() override { program_.ended(); }
    ScreenCore& screen(ScreenId id) override
    {
        if (id == ScreenId::Form2)
            return *form2_;
        return *form4_; // Form1 is never asked for: the picture starts at Form2
    }
    void show(ScreenId id) override { program_.activate(screen(id)); }
    void announce(std::u16string_view) override {}
    bool announcementsHeard() override { return false; }
    std::int64_t monotonicMs() override { return std::int64_t(emscripten_get_now()); }
    void startTicks(std::function<void()>) override {}
    void stopTicks() override {}
    void setBusy(bool) override {}
    bool playSound(const Sound&) override { return false; } // a picture is silent
    void stopSound() override {}
    bool soundPlaying() override { return false; }

private:
    static constexpr const char* textNames[] = {"Text1", "Text2", "Text3", "Text4", "Text10"};
    Program program_;
    PageBar bar_;
    KeptText ratio_;
    std::array<KeptText, 5> texts_;
    std::array<KeptOption, 3> options_;
    std::unique_ptr<OffPage<Form2Core>> form2_;
    std::unique_ptr<OffPage<Form4Core>> form4_;
};

// The screens' layout for the page, as JSON: the same tables, in pixels.
nlohmann::json screenLayout(ScreenId id, const char* name, const char* description, int widthTwips, int heightTwips,
                            std::span<const ControlSpec> controls, std::span<const ControlLook> looks)
{
    const auto px = [](int twips) { return ScreenCore::twipsToPixels(twips); };
    static const char* const kinds[] = {"button", "textbox", "label", "frame", "option", "hscrollbar", "panel"};
    nlohmann::json list = nlohmann::json::array();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ControlSpec& c = controls[i];
        nlohmann::json j = {{"handle", handleOf(id, int(i))},
                            {"name", c.name},
                            {"kind", kinds[int(c.kind)]},
                            {"container", c.container ? nlohmann::json(c.container) : nlohmann::json()},
                            {"caption", c.caption ? c.caption : ""},
                            {"left", px(c.left)},
                            {"top", px(c.top)},
                            {"width", px(c.width)},
                            {"height", px(c.height)},
                            {"tab", c.tabIndex}};
        if (c.kind == ControlKind::HScrollBar) {
            j["min"] = Form2Core::barMinimum;
            j["max"] = Form2Core::barMaximum;
            j["step"] = Form2Core::barSmallChange;
            j["page"] = Form2Core::barLargeChange;
        }
        for (const ControlLook& l : looks) {
            if (std::string_view(l.name) != c.name)
                continue;
            if (l.tooltip)
                j["tooltip"] = l.tooltip;
            if (l.fore)
                j["fore"] = l.fore & 0xffffff;
            if (l.back == highlightedText)
                j["back"] = "HighlightText"; // the page's system colour of the same name
            else if (l.back)
                j["back"] = l.back & 0xffffff;
            if (l.font) {
                j["font"] = l.font;
                j["points"] = l.points;
            }
            if (l.accessibleName)
                j["accessibleName"] = l.accessibleName;
            if (l.labelFor)
                j["labelFor"] = l.labelFor;
        }
        list.push_back(std::move(j));
    }
    return {{"id", int(id)},       {"name", name},          {"description", description},
            {"width", px(widthTwips)}, {"height", px(heightTwips)}, {"controls", std::move(list)}};
}

} // namespace
} // namespace tc::web

using namespace tc;
using namespace tc::web;

// The entry points. The page calls them one at a time, never while one of
// them waits for a message box to close.
extern "C" {

EMSCRIPTEN_KEEPALIVE const char* tc_layout()
{
    static const std::string text = [] {
        const nlohmann::json layout = {
            {"face", classicFace},
            {"relatives", classicFaceRelatives},
            {"points", classicPoints},
            {"drawing", drawingName},
            {"maxLessonBytes", lesson::maxFileBytes},
            {"title", applicationTitle},
            {"paces", [] {
                 nlohmann::json names = nlohmann::json::array();
                 for (const auto& p : SlowRun::paces)
                     names.push_back(p.name);
                 return names;
             }()},
            {"screens",
             {screenLayout(ScreenId::Form1, "Form1", form1Description, 11670, 7305, Form1Core::controls, {}),
              screenLayout(ScreenId::Form2, "Form2", form2Description, 9855, 6840, Form2Core::controls, form2Looks),
              screenLayout(ScreenId::Form4, "Form4", form4Description, 10605, 6780, Form4Core::controls,
                           form4Looks)}}};
        return layout.dump();
    }();
    return text.c_str();
}

EMSCRIPTEN_KEEPALIVE void tc_start()
{
    host().program = &program();
    program().Show(ScreenId::Form1);
}

// A press or the focus entering a screen: the activation rule decides.
EMSCRIPTEN_KEEPALIVE void tc_activate(int screen)
{
    ScreenCore& s = program().screen(ScreenId(screen));
    program().activate(s);
}

EMSCRIPTEN_KEEPALIVE void tc_click(int control)
{
    const ScreenId screen = ScreenId(control / controlsPerScreen);
    const std::size_t row = std::size_t(control % controlsPerScreen);
    program().handle([&] {
        switch (screen) {
        case ScreenId::Form1:
            if (std::string_view(Form1Core::controls.at(row).name) == "Command1")
                host().form1->Command1_Click();
            break;
        case ScreenId::Form2: {
            Form2Core& f = program().form2();
            const std::string_view name = Form2Core::controls.at(row).name;
            if (name == "Command1")
                f.Command1_Click();
            else if (name == "Command3")
                f.Command3_Click();
            break;
        }
        case ScreenId::Form4: {
            Form4Core& f = program().form4();
            const std::string_view name = Form4Core::controls.at(row).name;
            using Handler = void (Form4Core::*)();
            static constexpr std::pair<std::string_view, Handler> handlers[] = {
                {"Command1", &Form4Core::Command1_Click}, {"Command2", &Form4Core::Command2_Click},
                {"Command3", &Form4Core::Command3_Click}, {"Command4", &Form4Core::Command4_Click},
                {"Command5", &Form4Core::Command5_Click}};
            for (const auto& [n, h] : handlers)
                if (n == name)
                    (f.*h)();
            break;
        }
        }
    });
}

// The user moved the calibration bar to `value`.
EMSCRIPTEN_KEEPALIVE void tc_bar_changed(int value)
{
    program().handle([&] {
        PageForm2& f = static_cast<PageForm2&>(program().form2());
        f.bar_.value_ = value;
        f.HScroll1_Change();
        f.ratioShown();
    });
}

// The tools of the drawing's menu and keys.
EMSCRIPTEN_KEEPALIVE void tc_toggle_slow_motion() { program().handle([] { program().form4().toggleSlowMotion(); }); }
// The pace chosen in the menu, by its place there.
EMSCRIPTEN_KEEPALIVE void tc_pace(int choice)
{
    if (choice >= 0 && std::size_t(choice) < SlowRun::paces.size())
        program().handle([&] { program().form4().choosePace(SlowRun::paces[std::size_t(choice)].pace); });
}

// Listening: 0 the last curve played or stopped (F8), 1 its walk started
// or ended (Shift+F8), then the walk's steps (Left, Right, Home, End) and
// its end (Esc).
EMSCRIPTEN_KEEPALIVE void tc_listen(int action)
{
    program().handle([&] {
        Form4Core& f = program().form4();
        using Step = Form4Core::WalkStep;
        constexpr Step steps[] = {Step::Previous, Step::Next, Step::First, Step::Last};
        if (action == 0)
            f.listenToLastCurve();
        else if (action == 1)
            f.walkLastCurve();
        else if (action >= 2 && action < 6)
            f.walkStep(steps[action - 2]);
        else if (action == 6)
            f.endWalk();
    });
}
// Whether the arrows walk a curve: the page asks after every entry point.
EMSCRIPTEN_KEEPALIVE bool tc_walking() { return host().form4 && host().form4->walking(); }

enum LessonAction { NewLesson, SaveLesson, NextStep, RestartLesson, CloseLesson, LessonLink, SaveLessonPage };

namespace {

// Asks the user for the title of the lesson to save; false if cancelled.
bool lessonTitled(Form4Core& f)
{
    const std::u16string current = f.lessonTitle();
    char16_t* answer = tc_page_ask_title(current.data(), int(current.size()));
    if (!answer)
        return false;
    std::u16string title(answer);
    std::free(answer);
    f.setLessonTitle(std::move(title));
    return true;
}

void download(const std::string& name, const std::string& bytes, const char* type)
{
    tc_page_download(name.c_str(), bytes.data(), int(bytes.size()), type);
}

} // namespace

EMSCRIPTEN_KEEPALIVE void tc_lesson(int action)
{
    program().handle([&] {
        Form4Core& f = program().form4();
        switch (LessonAction(action)) {
        case NewLesson:
            f.newLesson();
            break;
        case SaveLesson:
            if (!lessonTitled(f))
                break;
            if (const std::optional<std::string> text = f.lessonFileText())
                download(toUtf8(lesson::fileBaseName(f.lessonTitle())) + "." + lesson::fileSuffix, *text,
                         "application/json");
            break;
        case SaveLessonPage:
            if (!lessonTitled(f))
                break;
            if (const std::optional<std::string> text = f.lessonFileText()) {
                char* markup = tc_page_markup();
                const std::optional<std::string> page = lesson::pageWithLesson(markup, *text);
                std::free(markup);
                if (!page)
                    std::abort(); // the page's own shell has the element
                download(toUtf8(lesson::fileBaseName(f.lessonTitle())) + ".html", *page, "text/html");
            }
            break;
        case NextStep:
            f.nextStep();
            break;
        case RestartLesson:
            f.restartLesson();
            break;
        case CloseLesson:
            f.closeLesson();
            break;
        case LessonLink:
            if (const std::optional<std::string> text = f.lessonFileText())
                tc_page_lesson_link(text->data(), int(text->size()));
            break;
        }
    });
}

// A lesson file's bytes, chosen, dropped or sent in the page's address,
// and the name it is shown by where it has no title.
EMSCRIPTEN_KEEPALIVE void tc_open_lesson(const char* bytes, int length, const char* name)
{
    program().handle([&] {
        if (program().form4().openLessonFile(std::string_view(bytes, std::size_t(length)), fromUtf8(name)))
            host().announce(u"Lezione aperta: PagGiù o \"Passo successivo\" per andare avanti.");
    });
}

// The name a lesson file's bytes are shown by (its title, else `name`),
// UTF-8; "" when the bytes are no lesson. Reads only: the page may call it
// at any time.
EMSCRIPTEN_KEEPALIVE const char* tc_lesson_name(const char* bytes, int length, const char* name)
{
    static std::string shown;
    const lesson::ReadResult read = lesson::read(std::string_view(bytes, std::size_t(length)));
    const auto* l = std::get_if<lesson::Lesson>(&read);
    shown = !l ? std::string() : l->title.empty() ? std::string(name) : toUtf8(l->title);
    return shown.c_str();
}

// The menu of the drawing at (x, y) in the page, showing what is chosen.
EMSCRIPTEN_KEEPALIVE void tc_open_menu(double x, double y)
{
    program().handle([&] {
        const Form4Core& f = program().form4();
        if (f.slowRun())
            return; // no menu while a run is drawn
        const auto& paces = SlowRun::paces;
        const auto chosen = std::find_if(paces.begin(), paces.end(), [&](const auto& p) { return p.pace == f.pace; });
        tc_page_menu(f.slowMotion, int(chosen - paces.begin()), f.lessonOpen(), f.lessonHasNextStep(), x, y);
    });
}

// The point of the curves' plane under the pointer, at (x, y) on the drawing.
EMSCRIPTEN_KEEPALIVE void tc_show_point(double x, double y, double pageX, double pageY)
{
    program().handle([&] {
        const auto [cx, cy] = program().form4().curvePointAt(x, y);
        const std::u16string text = pointText(cx, cy);
        tc_page_point(text.data(), int(text.size()), pageX, pageY);
    });
}

// The printed page of the drawing, dated: its words, and its picture in
// paper colours (the surface's pixels with the colour table on paper). It
// never waits, so the page may also call it straight away, when nothing
// else runs.
EMSCRIPTEN_KEEPALIVE void tc_print(int year, int month, int day)
{
    if (!host().form4)
        return;
    const Form4Core& f = *host().form4;
    const Surface& s = f.surface();
    const Rgb back = s.backColor();
    std::vector<Rgb> paper;
    for (Rgb c : s.colourTable())
        paper.push_back(paperColour(c, back));
    const PageCaption caption = f.pageCaption({year, month, day});
    nlohmann::json curves = nlohmann::json::array();
    for (const CaptionLine& l : caption.curves)
        curves.push_back({{"colour", paperColour(QBColor(l.colour), back) & 0xffffff}, {"text", toUtf8(l.text)}});
    const nlohmann::json page = {{"heading", toUtf8(caption.heading)},
                                 {"leftOut", toUtf8(caption.leftOut)},
                                 {"footer", toUtf8(caption.footer)},
                                 {"curves", std::move(curves)}};
    const Size device = PageForm4::pictureSize(s);
    tc_page_print(page.dump().c_str(), s.pixels(), int(s.bytesPerLine()), device.width, device.height, paper.data(),
                  int(paper.size()));
}

// A live class (js/live.js binds the MQTT client). The topic of a class's
// lesson, "" when the name is no class's; reads only, callable any time.
EMSCRIPTEN_KEEPALIVE const char* tc_live_topic(const char* name)
{
    static std::string topic;
    topic = live::validClassName(name) ? live::lessonTopic(name) : std::string();
    return topic.c_str();
}

// Leading (`teacher`) or following class `name` on Form4 from now on.
EMSCRIPTEN_KEEPALIVE void tc_live_start(int teacher, const char* name)
{
    program().handle([&] {
        PageLive& l = pageLive();
        l.inClass.reset();
        if (!live::validClassName(name))
            return;
        using Role = live::LiveClass::Role;
        l.inClass = std::make_unique<live::LiveClass>(program().form4(), l.link, teacher ? Role::Teacher : Role::Student,
                                                      name);
        // A class followed starts with the teacher's lead taken.
        if (!teacher)
            l.inClass->setFollowingTeacher(true);
    });
}

EMSCRIPTEN_KEEPALIVE void tc_live_end()
{
    program().handle([] { pageLive().inClass.reset(); });
}

// A message on the class's topic, in the order the broker gave them.
EMSCRIPTEN_KEEPALIVE void tc_live_arrived(const char* bytes, int length)
{
    program().handle([&] {
        if (pageLive().inClass)
            pageLive().inClass->arrived(std::string_view(bytes, std::size_t(length)));
    });
}

EMSCRIPTEN_KEEPALIVE void tc_live_connection(int connected)
{
    program().handle([&] {
        if (pageLive().inClass)
            pageLive().inClass->connectionChanged(connected != 0);
    });
}

// The broker's count of its connected clients, for the teacher's caption.
EMSCRIPTEN_KEEPALIVE void tc_live_clients(int count)
{
    program().handle([&] {
        if (pageLive().inClass)
            pageLive().inClass->clientsConnected(count);
    });
}

// A student's "Segui l'insegnante".
EMSCRIPTEN_KEEPALIVE void tc_live_following(int on)
{
    program().handle([&] {
        if (pageLive().inClass)
            pageLive().inClass->setFollowingTeacher(on != 0);
    });
}

EMSCRIPTEN_KEEPALIVE void tc_tick() { program().handle([] { host().tick(); }); }

// Input that came during a slow run, and Esc, which finishes it.
EMSCRIPTEN_KEEPALIVE void tc_input_refused() { program().handle([] { program().inputRefusedDuringRun(); }); }
EMSCRIPTEN_KEEPALIVE void tc_finish_run() { program().handle([] { program().finishRunInProgress(); }); }

// A picture of curves of the guide, by its name, drawn off the page at the
// density `dpr`; 0 if there is no such picture.
EMSCRIPTEN_KEEPALIVE int tc_guide_picture(const char* name, double dpr)
{
    for (const GuidePicture& picture : guidePictures()) {
        if (picture.name != name)
            continue;
        GuideProgram off(dpr);
        const Surface& s = off.draw(picture);
        const Size device = PageForm4::pictureSize(s);
        const auto& table = s.colourTable();
        tc_page_guide_picture(name, s.pixels(), int(s.bytesPerLine()), device.width, device.height, table.data(),
                              int(table.size()), s.clientSize().width);
        return 1;
    }
    return 0;
}

EMSCRIPTEN_KEEPALIVE void tc_density_changed(double dpr)
{
    if (host().form1)
        host().form1->densityChanged(dpr);
    if (host().form2)
        host().form2->densityChanged(dpr);
    if (host().form4)
        host().form4->densityChanged(dpr);
}

} // extern "C"
