// The start at login and the notifications of LinuxServices: the XDG autostart
// entry in a private XDG_CONFIG_HOME, and Notify against a fake notification
// server on the private session bus this test runs on (dbus-run-session).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <thread>

#include "platform/linux/Autostart.h"
#include "platform/linux/GLibLoop.h"
#include "platform/linux/LinuxServices.h"
#include "tests/model/TempDir.h"

// After the program's headers: GLib defines TRUE and FALSE as macros.
#include <gio/gio.h>

using namespace zavrin;
using namespace zavrin::linuxdesktop;
using namespace zavrin::test;

namespace {

std::string ReadAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) ::setenv(name, value->c_str(), 1);
        else ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_) ::setenv(name_, old_->c_str(), 1);
        else ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(Autostart, TheEntryLiesInTheUsersConfigFolderNamedAfterTheComponent) {
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", "/tmp/cfg");
        EXPECT_EQ(AutostartEntryPath(), "/tmp/cfg/autostart/io.github.zavrin.Zavrin.desktop");
    }
    ScopedEnv home("HOME", "/home/u");
    for (const std::optional<std::string>& unusable : {std::optional<std::string>{}, std::optional<std::string>{"rel"}}) {
        ScopedEnv xdg("XDG_CONFIG_HOME", unusable);
        EXPECT_EQ(AutostartEntryPath(), "/home/u/.config/autostart/io.github.zavrin.Zavrin.desktop");
    }
}

TEST(Autostart, TheCommandIsTheInstalledNameOrTheQuotedFullPath) {
    TempDir dir;
    const auto onPath = dir / "bin" / "zavrin";
    std::filesystem::create_directories(onPath.parent_path());
    std::ofstream(onPath) << "#!/bin/sh\n";
    std::filesystem::permissions(onPath, std::filesystem::perms::owner_all);
    ScopedEnv path("PATH", onPath.parent_path().string());
    EXPECT_EQ(AutostartCommand(onPath), "zavrin --tray");
    // Another copy (a build folder) is started by its path, quoted and escaped
    // for the Exec key: a space quotes, a backslash doubles twice, % doubles.
    EXPECT_EQ(AutostartCommand("/opt/z/zavrin"), "/opt/z/zavrin --tray");
    EXPECT_EQ(AutostartCommand("/home/u/my build/zavrin"), "\"/home/u/my build/zavrin\" --tray");
    EXPECT_EQ(AutostartCommand("/home/u/a$b%/zavrin"), "\"/home/u/a\\\\$b%%/zavrin\" --tray");
}

TEST(Autostart, ServicesWriteTheEntryReadItBackAndRemoveIt) {
    TempDir dir;
    ScopedEnv xdg("XDG_CONFIG_HOME", dir.path().string());
    LinuxServices services(nullptr);
    const auto entry = dir / "autostart" / "io.github.zavrin.Zavrin.desktop";
    EXPECT_FALSE(services.StartsWithDesktop());  // off until asked for

    ASSERT_TRUE(services.SetStartWithDesktop(true));
    EXPECT_TRUE(services.StartsWithDesktop());
    const std::string text = ReadAll(entry);
    EXPECT_EQ(text.rfind("[Desktop Entry]\n", 0), 0u);
    EXPECT_NE(text.find("\nType=Application\n"), std::string::npos);
    EXPECT_NE(text.find("\nExec=" + RunningProgram().string() + " --tray\n"), std::string::npos) << text;
    EXPECT_FALSE(std::filesystem::exists(entry.string() + ".new"));

    ASSERT_TRUE(services.SetStartWithDesktop(false));
    EXPECT_FALSE(std::filesystem::exists(entry));
    EXPECT_FALSE(services.StartsWithDesktop());
    EXPECT_TRUE(services.SetStartWithDesktop(false));  // removing what is gone is no failure

    // A desktop's settings may switch the user's copy off instead of removing it.
    std::filesystem::create_directories(entry.parent_path());
    std::ofstream(entry) << AutostartEntryText("zavrin --tray") << "Hidden=true\n";
    EXPECT_FALSE(services.StartsWithDesktop());
}

// An org.freedesktop.Notifications server that writes down each Notify call.
class FakeNotifications {
public:
    FakeNotifications() {
        loop_.inContext([this] { start(); });
    }
    ~FakeNotifications() {
        loop_.inContext([this] {
            g_dbus_connection_unregister_object(bus_, object_);
            g_object_unref(bus_);
        });
    }
    bool acquired() const { return acquired_; }
    // Waits (bounded) for the n-th call.
    bool awaitCalls(std::size_t n) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < deadline) {
            {
                std::lock_guard lock(mutex_);
                if (calls_.size() >= n) return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }
    struct CallRecord {
        std::string app, icon, summary, body, desktopEntry;
    };
    CallRecord call(std::size_t i) {
        std::lock_guard lock(mutex_);
        return calls_.at(i);
    }

private:
    void start() {
        static const char* xml = R"xml(<node><interface name="org.freedesktop.Notifications">
          <method name="Notify"><arg type="s" direction="in"/><arg type="u" direction="in"/>
           <arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="s" direction="in"/>
           <arg type="as" direction="in"/><arg type="a{sv}" direction="in"/><arg type="i" direction="in"/>
           <arg type="u" direction="out"/></method></interface></node>)xml";
        gchar* address = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
        bus_ = g_dbus_connection_new_for_address_sync(
            address,
            static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                              G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, nullptr);
        g_free(address);
        GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(xml, nullptr);
        static const GDBusInterfaceVTable vtable = {Call, nullptr, nullptr, {}};
        object_ = g_dbus_connection_register_object(bus_, "/org/freedesktop/Notifications", node->interfaces[0],
                                                    &vtable, this, nullptr, nullptr);
        g_dbus_node_info_unref(node);
        GVariant* r = g_dbus_connection_call_sync(
            bus_, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
            g_variant_new("(su)", "org.freedesktop.Notifications", 4u), G_VARIANT_TYPE("(u)"),
            G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
        guint32 result = 0;
        if (r != nullptr) {
            g_variant_get(r, "(u)", &result);
            g_variant_unref(r);
        }
        acquired_ = result == 1;
    }

    static void Call(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*, GVariant* params,
                     GDBusMethodInvocation* invocation, gpointer data) {
        auto* self = static_cast<FakeNotifications*>(data);
        const gchar *app = nullptr, *icon = nullptr, *summary = nullptr, *body = nullptr;
        GVariant* hints = nullptr;
        g_variant_get(params, "(&su&s&s&sas@a{sv}i)", &app, nullptr, &icon, &summary, &body, nullptr, &hints, nullptr);
        CallRecord record{app, icon, summary, body, {}};
        const gchar* entry = nullptr;
        if (g_variant_lookup(hints, "desktop-entry", "&s", &entry)) record.desktopEntry = entry;
        g_variant_unref(hints);
        {
            std::lock_guard lock(self->mutex_);
            self->calls_.push_back(record);
        }
        g_dbus_method_invocation_return_value(invocation, g_variant_new("(u)", 7u));
    }

    GLibLoop loop_;
    GDBusConnection* bus_ = nullptr;
    unsigned object_ = 0;
    std::atomic<bool> acquired_{false};
    std::mutex mutex_;
    std::vector<CallRecord> calls_;
};

TEST(Notifications, ReachTheDesktopsNotificationServer) {
    FakeNotifications server;
    ASSERT_TRUE(server.acquired());
    LinuxServices services(nullptr);
    EXPECT_TRUE(services.ShowNotification("Zavrin ZR2: battery low", "The mouse's battery is at 15%."));
    ASSERT_TRUE(server.awaitCalls(1));
    const auto call = server.call(0);
    EXPECT_EQ(call.app, "Zavrin ZR2");
    EXPECT_EQ(call.summary, "Zavrin ZR2: battery low");
    EXPECT_EQ(call.body, "The mouse's battery is at 15%.");
    EXPECT_EQ(call.icon, "io.github.zavrin.Zavrin");
    EXPECT_EQ(call.desktopEntry, "io.github.zavrin.Zavrin");
}

TEST(Notifications, WithoutAServerOrABusNothingBreaks) {
    {
        LinuxServices services(nullptr);  // a bus, but no server on it
        EXPECT_TRUE(services.ShowNotification("title", "text"));
    }
    ScopedEnv bus("DBUS_SESSION_BUS_ADDRESS", std::nullopt);
    ScopedEnv runtime("XDG_RUNTIME_DIR", "/nonexistent");
    LinuxServices services(nullptr);
    EXPECT_FALSE(services.ShowNotification("title", "text"));
}

}  // namespace
