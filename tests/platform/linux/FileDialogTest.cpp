// The desktop's file dialogs through LinuxServices, against a fake desktop
// portal on the private session bus this test runs on (dbus-run-session): what
// is asked of the portal, its answer as a path, cancelling, the default
// extension, the program going on while the dialog is open, and the fallback
// where no portal answers.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <mutex>

#include "platform/headless/HeadlessDesktop.h"
#include "platform/linux/GLibLoop.h"
#include "platform/linux/LinuxServices.h"
#include "tests/model/TempDir.h"
#include "tests/platform/RecordingWindow.h"

// After the program's headers: GLib defines TRUE and FALSE as macros.
#include <gio/gio.h>

using namespace zavrin;
using namespace zavrin::test;

namespace {

const char* kPortalXml = R"xml(<node>
 <interface name="org.freedesktop.portal.FileChooser">
  <method name="OpenFile">
   <arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="a{sv}" direction="in"/>
   <arg type="o" direction="out"/>
  </method>
  <method name="SaveFile">
   <arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="a{sv}" direction="in"/>
   <arg type="o" direction="out"/>
  </method>
 </interface>
</node>)xml";

// A FileChooser that answers every request, 100 ms after it was made, with
// the URI it was given (or a cancel when there is none), and writes down what
// it was asked.
class FakePortal {
public:
    FakePortal() {
        loop_.inContext([this] { start(); });
    }
    ~FakePortal() {
        loop_.inContext([this] {
            g_dbus_connection_unregister_object(bus_, object_);
            g_object_unref(bus_);
        });
    }

    void answerWith(const std::string& uri) {
        std::lock_guard lock(mutex_);
        uri_ = uri;
    }
    bool acquired() const { return acquired_; }

    std::string method, title, currentName, token;
    std::vector<std::string> patterns;

private:
    struct Pending {
        FakePortal* portal;
        std::string sender, path, uri;
    };

    // On the loop's thread.
    void start() {
        gchar* address = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
        bus_ = g_dbus_connection_new_for_address_sync(
            address,
            static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                              G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, nullptr);
        g_free(address);
        GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(kPortalXml, nullptr);
        static const GDBusInterfaceVTable vtable = {Call, nullptr, nullptr, {}};
        object_ = g_dbus_connection_register_object(bus_, "/org/freedesktop/portal/desktop", node->interfaces[0],
                                                    &vtable, this, nullptr, nullptr);
        g_dbus_node_info_unref(node);
        GVariant* r = g_dbus_connection_call_sync(
            bus_, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
            g_variant_new("(su)", "org.freedesktop.portal.Desktop", 4u), G_VARIANT_TYPE("(u)"),
            G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
        guint32 result = 0;
        if (r != nullptr) {
            g_variant_get(r, "(u)", &result);
            g_variant_unref(r);
        }
        acquired_ = result == 1;
    }

    static void Call(GDBusConnection*, const gchar* sender, const gchar*, const gchar*, const gchar* method,
                     GVariant* params, GDBusMethodInvocation* invocation, gpointer data) {
        auto* self = static_cast<FakePortal*>(data);
        const gchar* title = nullptr;
        GVariant* options = nullptr;
        g_variant_get(params, "(&s&s@a{sv})", nullptr, &title, &options);
        self->method = method;
        self->title = title;
        const gchar* s = nullptr;
        if (g_variant_lookup(options, "handle_token", "&s", &s)) self->token = s;
        if (g_variant_lookup(options, "current_name", "&s", &s)) self->currentName = s;
        if (GVariant* filters = g_variant_lookup_value(options, "filters", G_VARIANT_TYPE("a(sa(us))"))) {
            GVariantIter it;
            g_variant_iter_init(&it, filters);
            const gchar* name = nullptr;
            GVariantIter* globs = nullptr;
            while (g_variant_iter_loop(&it, "(&sa(us))", &name, &globs)) {
                guint32 kind = 0;
                const gchar* glob = nullptr;
                while (g_variant_iter_loop(globs, "(u&s)", &kind, &glob)) self->patterns.push_back(glob);
            }
            g_variant_unref(filters);
        }
        g_variant_unref(options);
        std::string unique = sender + 1;
        for (char& c : unique)
            if (c == '.') c = '_';
        auto* pending = new Pending{self, sender, "/org/freedesktop/portal/desktop/request/" + unique + "/" + self->token, {}};
        {
            std::lock_guard lock(self->mutex_);
            pending->uri = self->uri_;
        }
        g_dbus_method_invocation_return_value(invocation, g_variant_new("(o)", pending->path.c_str()));
        // On the loop's context (this thread's default; g_timeout_add would use
        // the global default context, which nothing runs).
        GSource* later = g_timeout_source_new(100);
        g_source_set_callback(later, Respond, pending, nullptr);
        g_source_attach(later, g_main_context_get_thread_default());
        g_source_unref(later);
    }

    static gboolean Respond(gpointer data) {
        auto* p = static_cast<Pending*>(data);
        GVariantBuilder results;
        g_variant_builder_init(&results, G_VARIANT_TYPE("a{sv}"));
        if (!p->uri.empty()) {
            const gchar* uris[] = {p->uri.c_str(), nullptr};
            g_variant_builder_add(&results, "{sv}", "uris", g_variant_new_strv(uris, 1));
        }
        g_dbus_connection_emit_signal(p->portal->bus_, p->sender.c_str(), p->path.c_str(),
                                      "org.freedesktop.portal.Request", "Response",
                                      g_variant_new("(ua{sv})", p->uri.empty() ? 1u : 0u, &results), nullptr);
        delete p;
        return G_SOURCE_REMOVE;
    }

    linuxdesktop::GLibLoop loop_;
    GDBusConnection* bus_ = nullptr;
    unsigned object_ = 0;
    std::mutex mutex_;
    std::atomic<bool> acquired_{false};
    std::string uri_;
};

class FileDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        // No zenity or kdialog to stand in for a missing portal.
        setenv("PATH", emptyPath.path().c_str(), 1);
        ASSERT_TRUE(CreatePopup(owner, {100, 100, 400, 300}));
    }

    FileDialogRequest request(FileDialogRequest::Mode mode) {
        FileDialogRequest r;
        r.mode = mode;
        r.owner = owner.GetSafeHwnd();
        r.title = "Export profile";
        r.filters = {{"Profile files (*.psf)", "*.psf"}, {"All files", "*.*"}};
        r.defaultExtension = "psf";
        r.initialName = "Profile 1.psf";
        return r;
    }

    TempDir emptyPath;
    HeadlessDesktop desktop;
    RecordingWnd owner;
    LinuxServices services{nullptr};
};

}  // namespace

TEST_F(FileDialogs, ThePortalsAnswerIsThePathAndTheProgramGoesOnMeanwhile) {
    FakePortal portal;
    ASSERT_TRUE(portal.acquired());
    portal.answerWith("file:///home/someone/My%20profiles/fast%C3%A9.psf");
    // The owner keeps its timers running (and so its painting) while the
    // dialog is open, and cannot be used.
    bool enabledDuring = true;
    int ticks = 0;
    owner.handlers[WM_TIMER] = [&](WPARAM, LPARAM) -> LRESULT {
        ++ticks;
        enabledDuring = enabledDuring && IsWindowEnabled(owner.GetSafeHwnd());
        // Virtual time runs free while the portal answers in real time: a few
        // ticks prove the point, and a portal that never answers then ends in
        // the loop's stall instead of endless ticks.
        if (ticks == 20) owner.KillTimer(1);
        return 0;
    };
    owner.SetTimer(1, 10);
    bool fallbackCalled = false;
    services.setFileDialogFallback([&](const FileDialogRequest&) {
        fallbackCalled = true;
        return std::optional<std::filesystem::path>{};
    });

    const auto chosen = services.AskForFile(request(FileDialogRequest::Mode::Open));
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, std::filesystem::path("/home/someone/My profiles/fast\xC3\xA9.psf"));
    EXPECT_FALSE(fallbackCalled);
    EXPECT_EQ(portal.method, "OpenFile");
    EXPECT_EQ(portal.title, "Export profile");
    EXPECT_EQ(portal.patterns, (std::vector<std::string>{"*.psf", "*.*"}));
    EXPECT_GT(ticks, 0);
    EXPECT_FALSE(enabledDuring);
    EXPECT_TRUE(IsWindowEnabled(owner.GetSafeHwnd()));
}

TEST_F(FileDialogs, SavingSuggestsTheNameAndAddsTheDefaultExtension) {
    FakePortal portal;
    ASSERT_TRUE(portal.acquired());
    portal.answerWith("file:///tmp/exported");
    const auto chosen = services.AskForFile(request(FileDialogRequest::Mode::Save));
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, std::filesystem::path("/tmp/exported.psf"));
    EXPECT_EQ(portal.method, "SaveFile");
    EXPECT_EQ(portal.currentName, "Profile 1.psf");
}

TEST_F(FileDialogs, CancellingInThePortalIsNoChoiceAndNoFallback) {
    FakePortal portal;
    ASSERT_TRUE(portal.acquired());
    portal.answerWith("");
    bool fallbackCalled = false;
    services.setFileDialogFallback([&](const FileDialogRequest&) {
        fallbackCalled = true;
        return std::optional<std::filesystem::path>("/nowhere");
    });
    EXPECT_FALSE(services.AskForFile(request(FileDialogRequest::Mode::Open)).has_value());
    EXPECT_FALSE(fallbackCalled);
}

TEST_F(FileDialogs, WithoutAPortalOrADialogProgramTheProgramsOwnDialogAsks) {
    std::string askedTitle;
    services.setFileDialogFallback([&](const FileDialogRequest& r) {
        askedTitle = r.title;
        return std::optional<std::filesystem::path>("/home/someone/typed-name");
    });
    const auto chosen = services.AskForFile(request(FileDialogRequest::Mode::Save));
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, std::filesystem::path("/home/someone/typed-name.psf"));
    EXPECT_EQ(askedTitle, "Export profile");
    EXPECT_TRUE(IsWindowEnabled(owner.GetSafeHwnd()));
}
