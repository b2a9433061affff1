// A minimal StatusNotifierWatcher and host for the tray test, on a private
// session bus: it owns org.kde.StatusNotifierWatcher, and when an item
// registers it reads the item as a desktop's tray would, clicks it, reads its
// menu and clicks the menu entry whose label is given, printing one line per
// step:
//
//   sni_watcher [MENU-LABEL]
//   sni_watcher --hold SECONDS      only keeps the watcher for the time given:
//                                   items register and stay unvisited (an
//                                   idle program hidden in a tray, for the
//                                   benchmarks)
//
//   "watching"                      the name is owned: items may register
//   "registered SERVICE"
//   "title T" / "tooltip T" / "icon WxH"
//   "menu LABEL..."                 the labels of the menu's entries, in order; a
//                                   check item's label ends in "[ ]" or "[x]"
//   "activated" / "clicked LABEL"
//
// It ends after clicking, or after 20 s.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <gio/gio.h>

namespace {

const char* kXml = R"xml(<node>
 <interface name="org.kde.StatusNotifierWatcher">
  <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
  <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
  <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
  <property name="ProtocolVersion" type="i" access="read"/>
  <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
 </interface>
</node>)xml";

std::string gLabel = "Exit";
bool gHold = false;
GMainLoop* gLoop = nullptr;
std::vector<std::string> gItems;

void Say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

GVariant* GetProperty(GDBusConnection* bus, const std::string& service, const char* name) {
    GVariant* r = g_dbus_connection_call_sync(bus, service.c_str(), "/StatusNotifierItem",
                                              "org.freedesktop.DBus.Properties", "Get",
                                              g_variant_new("(ss)", "org.kde.StatusNotifierItem", name),
                                              G_VARIANT_TYPE("(v)"), G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
    if (r == nullptr) return nullptr;
    GVariant* v = nullptr;
    g_variant_get(r, "(v)", &v);
    g_variant_unref(r);
    return v;
}

// Does what a tray does with a new item; runs from the main loop, after the
// registration call has been answered.
gboolean Visit(gpointer data) {
    auto* service = static_cast<std::string*>(data);
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (GVariant* v = GetProperty(bus, *service, "Title")) {
        Say(std::string("title ") + g_variant_get_string(v, nullptr));
        g_variant_unref(v);
    }
    if (GVariant* v = GetProperty(bus, *service, "ToolTip")) {
        const gchar* title = nullptr;
        g_variant_get(v, "(&s@a(iiay)&s&s)", nullptr, nullptr, &title, nullptr);
        Say(std::string("tooltip ") + (title != nullptr ? title : ""));
        g_variant_unref(v);
    }
    if (GVariant* v = GetProperty(bus, *service, "IconPixmap")) {
        GVariantIter it;
        g_variant_iter_init(&it, v);
        gint32 w = 0, h = 0;
        GVariant* bytes = nullptr;
        if (g_variant_iter_next(&it, "(ii@ay)", &w, &h, &bytes)) {
            const gsize n = g_variant_get_size(bytes);
            Say("icon " + std::to_string(w) + "x" + std::to_string(h) + (n == gsize(w) * h * 4 ? "" : " bad-size"));
            g_variant_unref(bytes);
        }
        g_variant_unref(v);
    }
    GVariant* r = g_dbus_connection_call_sync(bus, service->c_str(), "/StatusNotifierItem", "org.kde.StatusNotifierItem",
                                              "Activate", g_variant_new("(ii)", 10, 10), nullptr,
                                              G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
    if (r != nullptr) {
        Say("activated");
        g_variant_unref(r);
    }
    // The menu: its path from the item, its layout from dbusmenu.
    std::string menuPath = "/MenuBar";
    if (GVariant* v = GetProperty(bus, *service, "Menu")) {
        menuPath = g_variant_get_string(v, nullptr);
        g_variant_unref(v);
    }
    r = g_dbus_connection_call_sync(bus, service->c_str(), menuPath.c_str(), "com.canonical.dbusmenu", "GetLayout",
                                    g_variant_new("(ii@as)", 0, -1, g_variant_new_strv(nullptr, 0)),
                                    G_VARIANT_TYPE("(u(ia{sv}av))"), G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
    int clickId = -1;
    if (r != nullptr) {
        guint32 revision = 0;
        GVariant* root = nullptr;
        g_variant_get(r, "(u@(ia{sv}av))", &revision, &root);
        GVariant* children = g_variant_get_child_value(root, 2);
        std::string labels = "menu";
        for (gsize i = 0; i < g_variant_n_children(children); ++i) {
            GVariant* boxed = g_variant_get_child_value(children, i);
            GVariant* child = g_variant_get_variant(boxed);
            gint32 id = 0;
            GVariant* props = nullptr;
            g_variant_get(child, "(i@a{sv}av)", &id, &props, nullptr);
            const gchar* label = nullptr;
            if (g_variant_lookup(props, "label", "&s", &label)) {
                std::string plain;
                for (const char* c = label; *c != 0; ++c)
                    if (*c != '_') plain += *c;
                labels += " " + plain;
                if (plain == gLabel) clickId = id;
                const gchar* toggle = nullptr;
                gint32 state = 0;
                if (g_variant_lookup(props, "toggle-type", "&s", &toggle) && std::string(toggle) == "checkmark") {
                    g_variant_lookup(props, "toggle-state", "i", &state);
                    labels += state == 1 ? "[x]" : "[ ]";
                }
            }
            g_variant_unref(props);
            g_variant_unref(child);
            g_variant_unref(boxed);
        }
        Say(labels);
        g_variant_unref(children);
        g_variant_unref(root);
        g_variant_unref(r);
    }
    if (clickId >= 0) {
        r = g_dbus_connection_call_sync(
            bus, service->c_str(), menuPath.c_str(), "com.canonical.dbusmenu", "Event",
            g_variant_new("(isvu)", clickId, "clicked", g_variant_new_int32(0), 0u), nullptr, G_DBUS_CALL_FLAGS_NONE,
            5000, nullptr, nullptr);
        if (r != nullptr) {
            Say("clicked " + gLabel);
            g_variant_unref(r);
        }
    }
    g_object_unref(bus);
    delete service;
    g_main_loop_quit(gLoop);
    return G_SOURCE_REMOVE;
}

void Call(GDBusConnection*, const gchar* sender, const gchar*, const gchar*, const gchar* method, GVariant* params,
          GDBusMethodInvocation* invocation, gpointer) {
    if (std::string(method) == "RegisterStatusNotifierItem") {
        const gchar* service = nullptr;
        g_variant_get(params, "(&s)", &service);
        // A path names an object of the caller; a name is the service itself.
        std::string name = service[0] == '/' ? sender : service;
        gItems.push_back(name);
        Say("registered " + name);
        if (!gHold) g_idle_add(Visit, new std::string(name));
    }
    g_dbus_method_invocation_return_value(invocation, nullptr);
}

GVariant* Property(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* name, GError**, gpointer) {
    const std::string p = name;
    if (p == "IsStatusNotifierHostRegistered") return g_variant_new_boolean(TRUE);
    if (p == "ProtocolVersion") return g_variant_new_int32(0);
    GVariantBuilder b;
    g_variant_builder_init(&b, G_VARIANT_TYPE("as"));
    for (const std::string& s : gItems) g_variant_builder_add(&b, "s", s.c_str());
    return g_variant_builder_end(&b);
}

const GDBusInterfaceVTable kVTable = {Call, Property, nullptr, {}};

}  // namespace

int main(int argc, char** argv) {
    guint seconds = 20;
    if (argc > 2 && std::string(argv[1]) == "--hold") {
        gHold = true;
        seconds = static_cast<guint>(std::atoi(argv[2]));
    } else if (argc > 1) {
        gLabel = argv[1];
    }
    gLoop = g_main_loop_new(nullptr, FALSE);
    GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(kXml, nullptr);
    g_bus_own_name(
        G_BUS_TYPE_SESSION, "org.kde.StatusNotifierWatcher", G_BUS_NAME_OWNER_FLAGS_NONE,
        [](GDBusConnection* bus, const gchar*, gpointer data) {
            g_dbus_connection_register_object(bus, "/StatusNotifierWatcher", static_cast<GDBusNodeInfo*>(data)->interfaces[0],
                                              &kVTable, nullptr, nullptr, nullptr);
        },
        [](GDBusConnection*, const gchar*, gpointer) { Say("watching"); },
        [](GDBusConnection*, const gchar*, gpointer) {
            Say("name-lost");
            g_main_loop_quit(gLoop);
        },
        node, nullptr);
    g_timeout_add_seconds(seconds, [](gpointer) -> gboolean {
        Say("timeout");
        g_main_loop_quit(gLoop);
        return G_SOURCE_REMOVE;
    }, nullptr);
    g_main_loop_run(gLoop);
    g_dbus_node_info_unref(node);
    return 0;
}
