#include "platform/linux/FileDialogs.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <sstream>
#include <thread>

#include <gio/gio.h>

#include "platform/linux/GLibLoop.h"
#include "platform/linux/Spawn.h"

namespace zavrin::linuxdesktop {

namespace {

// "*.psf;*.txt" -> {"*.psf", "*.txt"}
std::vector<std::string> Patterns(const std::string& pattern) {
    std::vector<std::string> out;
    std::stringstream in(pattern);
    std::string p;
    while (std::getline(in, p, ';'))
        if (!p.empty()) out.push_back(p);
    return out;
}

// What the portal's Response signal hands over, shared with the loop's thread.
struct PortalReply {
    std::atomic<bool> done{false};
    std::mutex mutex;
    guint32 code = 2;
    std::string uri;
    std::function<void()> wake;
};

void OnResponse(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*, GVariant* params,
                gpointer data) {
    auto& reply = **static_cast<std::shared_ptr<PortalReply>*>(data);
    guint32 code = 2;
    GVariant* results = nullptr;
    g_variant_get(params, "(u@a{sv})", &code, &results);
    std::string uri;
    if (results != nullptr) {
        const gchar** uris = nullptr;
        if (g_variant_lookup(results, "uris", "^a&s", &uris) && uris != nullptr) {
            if (uris[0] != nullptr) uri = uris[0];
            g_free(uris);
        }
        g_variant_unref(results);
    }
    {
        std::lock_guard lock(reply.mutex);
        reply.code = code;
        reply.uri = uri;
    }
    reply.done = true;
    reply.wake();
}

}  // namespace

std::filesystem::path WithDefaultExtension(const FileDialogRequest& request, std::filesystem::path path) {
    if (request.mode == FileDialogRequest::Mode::Save && !request.defaultExtension.empty() && !path.empty() &&
        !path.has_extension())
        path += "." + request.defaultExtension;
    return path;
}

DialogAnswer AskPortal(GLibLoop& loop, GDBusConnection* bus, const FileDialogRequest& request,
                       const DialogWait& wait) {
    DialogAnswer answer;
    if (bus == nullptr) return answer;
    const char* unique = g_dbus_connection_get_unique_name(bus);
    if (unique == nullptr) return answer;
    // The request's object path is known before the call, so the answer
    // cannot slip past between the call and the subscription.
    static std::atomic<int> serial{0};
    const std::string token = "zavrin" + std::to_string(++serial);
    std::string sender = unique + 1;
    for (char& c : sender)
        if (c == '.') c = '_';
    std::string handle = "/org/freedesktop/portal/desktop/request/" + sender + "/" + token;

    auto reply = std::make_shared<PortalReply>();
    reply->wake = wait.wake;
    auto subscribe = [&](const std::string& path) {
        guint id = 0;
        loop.inContext([&] {
            id = g_dbus_connection_signal_subscribe(
                bus, "org.freedesktop.portal.Desktop", "org.freedesktop.portal.Request", "Response", path.c_str(),
                nullptr, G_DBUS_SIGNAL_FLAGS_NONE,
                OnResponse, new std::shared_ptr<PortalReply>(reply),
                [](gpointer p) { delete static_cast<std::shared_ptr<PortalReply>*>(p); });
        });
        return id;
    };
    guint subscription = subscribe(handle);

    GVariantBuilder options;
    g_variant_builder_init(&options, G_VARIANT_TYPE("a{sv}"));
    g_variant_builder_add(&options, "{sv}", "handle_token", g_variant_new_string(token.c_str()));
    g_variant_builder_add(&options, "{sv}", "modal", g_variant_new_boolean(TRUE));
    if (!request.filters.empty()) {
        GVariantBuilder filters;
        g_variant_builder_init(&filters, G_VARIANT_TYPE("a(sa(us))"));
        for (const FileFilter& f : request.filters) {
            GVariantBuilder globs;
            g_variant_builder_init(&globs, G_VARIANT_TYPE("a(us)"));
            for (const std::string& p : Patterns(f.pattern)) g_variant_builder_add(&globs, "(us)", 0u, p.c_str());
            g_variant_builder_add(&filters, "(sa(us))", f.name.c_str(), &globs);
        }
        g_variant_builder_add(&options, "{sv}", "filters", g_variant_builder_end(&filters));
    }
    const bool save = request.mode == FileDialogRequest::Mode::Save;
    if (save && !request.initialName.empty())
        g_variant_builder_add(&options, "{sv}", "current_name",
                              g_variant_new_string(request.initialName.filename().string().c_str()));
    if (save && request.initialName.has_parent_path()) {
        const std::string folder = request.initialName.parent_path().string();
        g_variant_builder_add(&options, "{sv}", "current_folder",
                              g_variant_new_bytestring(folder.c_str()));
    }

    GError* error = nullptr;
    GVariant* result = g_dbus_connection_call_sync(
        bus, "org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop", "org.freedesktop.portal.FileChooser",
        save ? "SaveFile" : "OpenFile", g_variant_new("(ss@a{sv})", "", request.title.c_str(), g_variant_builder_end(&options)),
        G_VARIANT_TYPE("(o)"), G_DBUS_CALL_FLAGS_NONE, 10000, nullptr, &error);
    if (result == nullptr) {
        g_clear_error(&error);
        g_dbus_connection_signal_unsubscribe(bus, subscription);
        return answer;  // no portal
    }
    const gchar* returned = nullptr;
    g_variant_get(result, "(&o)", &returned);
    if (returned != nullptr && handle != returned) {
        // An older portal chose its own path.
        handle = returned;
        g_dbus_connection_signal_unsubscribe(bus, subscription);
        subscription = subscribe(handle);
    }
    g_variant_unref(result);

    const bool finished = wait.runUntil([&] { return reply->done.load(); });
    g_dbus_connection_signal_unsubscribe(bus, subscription);
    answer.outcome = DialogAnswer::Outcome::Cancelled;
    if (!finished) {
        // The program is ending: take the dialog down with it.
        g_dbus_connection_call(bus, "org.freedesktop.portal.Desktop", handle.c_str(), "org.freedesktop.portal.Request",
                               "Close", nullptr, nullptr, G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr, nullptr);
        return answer;
    }
    std::lock_guard lock(reply->mutex);
    if (reply->code != 0 || reply->uri.empty()) return answer;
    gchar* file = g_filename_from_uri(reply->uri.c_str(), nullptr, nullptr);
    if (file == nullptr) return answer;
    answer.outcome = DialogAnswer::Outcome::Chosen;
    answer.path = WithDefaultExtension(request, file);
    g_free(file);
    return answer;
}

DialogAnswer AskDialogProgram(const FileDialogRequest& request, const DialogWait& wait) {
    DialogAnswer answer;
    const bool save = request.mode == FileDialogRequest::Mode::Save;
    std::vector<std::string> argv;
    if (!FindProgram("zenity").empty()) {
        argv = {"zenity", "--file-selection", "--title=" + request.title};
        if (save) {
            argv.push_back("--save");
            argv.push_back("--confirm-overwrite");
            if (!request.initialName.empty()) argv.push_back("--filename=" + request.initialName.string());
        }
        for (const FileFilter& f : request.filters) {
            std::string filter = f.name + " |";
            for (const std::string& p : Patterns(f.pattern)) filter += " " + p;
            argv.push_back("--file-filter=" + filter);
        }
    } else if (!FindProgram("kdialog").empty()) {
        std::string filter;
        for (const FileFilter& f : request.filters) {
            if (!filter.empty()) filter += "\n";
            for (const std::string& p : Patterns(f.pattern)) filter += p + " ";
            filter += "|" + f.name;
        }
        const std::string start = save && !request.initialName.empty() ? request.initialName.string() : ".";
        argv = {"kdialog", "--title", request.title, save ? "--getsavefilename" : "--getopenfilename", start};
        if (!filter.empty()) argv.push_back(filter);
    } else {
        return answer;
    }

    // The program runs on a thread of its own while the windows go on.
    struct Shared {
        std::atomic<bool> done{false};
        std::optional<std::string> output;
    };
    auto shared = std::make_shared<Shared>();
    std::thread([shared, argv, wake = wait.wake] {
        shared->output = RunForOutput(argv);
        shared->done = true;
        wake();
    }).detach();
    const bool finished = wait.runUntil([&] { return shared->done.load(); });
    answer.outcome = DialogAnswer::Outcome::Cancelled;
    if (!finished || !shared->output) return answer;
    std::string path = *shared->output;
    while (!path.empty() && (path.back() == '\n' || path.back() == '\r')) path.pop_back();
    if (path.empty()) return answer;
    answer.outcome = DialogAnswer::Outcome::Chosen;
    answer.path = WithDefaultExtension(request, path);
    return answer;
}

}  // namespace zavrin::linuxdesktop
