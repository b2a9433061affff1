#include "platform/linux/StatusNotifierItem.h"

#include <gio/gio.h>
#include <mutex>
#include <unistd.h>

#include <mutex>

#include "platform/Messages.h"
#include "platform/Window.h"
#include "platform/linux/GLibLoop.h"

namespace zavrin::linuxdesktop {

namespace {

constexpr char kItemPath[] = "/StatusNotifierItem";
constexpr char kMenuPath[] = "/MenuBar";

constexpr char kItemXml[] = R"xml(<node>
 <interface name="org.kde.StatusNotifierItem">
  <method name="ContextMenu"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
  <method name="Activate"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
  <method name="SecondaryActivate"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
  <method name="Scroll"><arg name="delta" type="i" direction="in"/><arg name="orientation" type="s" direction="in"/></method>
  <signal name="NewTitle"/><signal name="NewIcon"/><signal name="NewToolTip"/>
  <signal name="NewStatus"><arg name="status" type="s"/></signal>
  <property name="Category" type="s" access="read"/>
  <property name="Id" type="s" access="read"/>
  <property name="Title" type="s" access="read"/>
  <property name="Status" type="s" access="read"/>
  <property name="WindowId" type="i" access="read"/>
  <property name="IconThemePath" type="s" access="read"/>
  <property name="IconName" type="s" access="read"/>
  <property name="IconPixmap" type="a(iiay)" access="read"/>
  <property name="OverlayIconName" type="s" access="read"/>
  <property name="OverlayIconPixmap" type="a(iiay)" access="read"/>
  <property name="AttentionIconName" type="s" access="read"/>
  <property name="AttentionIconPixmap" type="a(iiay)" access="read"/>
  <property name="AttentionMovieName" type="s" access="read"/>
  <property name="ToolTip" type="(sa(iiay)ss)" access="read"/>
  <property name="ItemIsMenu" type="b" access="read"/>
  <property name="Menu" type="o" access="read"/>
 </interface>
</node>)xml";

constexpr char kMenuXml[] = R"xml(<node>
 <interface name="com.canonical.dbusmenu">
  <method name="GetLayout">
   <arg name="parentId" type="i" direction="in"/><arg name="recursionDepth" type="i" direction="in"/>
   <arg name="propertyNames" type="as" direction="in"/>
   <arg name="revision" type="u" direction="out"/><arg name="layout" type="(ia{sv}av)" direction="out"/>
  </method>
  <method name="GetGroupProperties">
   <arg name="ids" type="ai" direction="in"/><arg name="propertyNames" type="as" direction="in"/>
   <arg name="properties" type="a(ia{sv})" direction="out"/>
  </method>
  <method name="GetProperty">
   <arg name="id" type="i" direction="in"/><arg name="name" type="s" direction="in"/>
   <arg name="value" type="v" direction="out"/>
  </method>
  <method name="Event">
   <arg name="id" type="i" direction="in"/><arg name="eventId" type="s" direction="in"/>
   <arg name="data" type="v" direction="in"/><arg name="timestamp" type="u" direction="in"/>
  </method>
  <method name="EventGroup">
   <arg name="events" type="a(isvu)" direction="in"/><arg name="idErrors" type="ai" direction="out"/>
  </method>
  <method name="AboutToShow">
   <arg name="id" type="i" direction="in"/><arg name="needUpdate" type="b" direction="out"/>
  </method>
  <method name="AboutToShowGroup">
   <arg name="ids" type="ai" direction="in"/>
   <arg name="updatesNeeded" type="ai" direction="out"/><arg name="idErrors" type="ai" direction="out"/>
  </method>
  <signal name="ItemsPropertiesUpdated">
   <arg type="a(ia{sv})" name="updatedProps"/><arg type="a(ias)" name="removedProps"/>
  </signal>
  <signal name="LayoutUpdated"><arg type="u" name="revision"/><arg type="i" name="parent"/></signal>
  <property name="Version" type="u" access="read"/>
  <property name="TextDirection" type="s" access="read"/>
  <property name="Status" type="s" access="read"/>
  <property name="IconThemePath" type="as" access="read"/>
 </interface>
</node>)xml";

}  // namespace

// What the D-Bus handlers read on the loop's thread: fixed once shown, but for
// the menu, which the UI thread may replace (under `menuMutex`).
struct StatusNotifierItem::State {
    mutable std::mutex menuMutex;
    std::uint32_t menuRevision = 1;
    std::function<void()> userAction;
    HWND target;
    UINT callbackMessage = 0;
    UINT iconId = 0;
    std::string tip;
    std::vector<TrayMenuItem> menu;
    int iconWidth = 0;
    int iconHeight = 0;
    std::vector<std::uint8_t> iconArgb;  // straight alpha, big-endian ARGB as the protocol wants

    GVariant* pixmaps() const {
        GVariantBuilder b;
        g_variant_builder_init(&b, G_VARIANT_TYPE("a(iiay)"));
        if (!iconArgb.empty()) {
            GVariant* bytes = g_variant_new_fixed_array(G_VARIANT_TYPE_BYTE, iconArgb.data(), iconArgb.size(), 1);
            g_variant_builder_add(&b, "(ii@ay)", iconWidth, iconHeight, bytes);
        }
        return g_variant_builder_end(&b);
    }

    // A menu entry's properties: id 0 is the root, entries count from 1.
    GVariant* itemProperties(int id) const {
        GVariantBuilder p;
        g_variant_builder_init(&p, G_VARIANT_TYPE("a{sv}"));
        if (id == 0) {
            g_variant_builder_add(&p, "{sv}", "children-display", g_variant_new_string("submenu"));
        } else if (id >= 1 && id <= static_cast<int>(menu.size())) {
            const TrayMenuItem& item = menu[static_cast<std::size_t>(id - 1)];
            if (item.id == 0) {
                g_variant_builder_add(&p, "{sv}", "type", g_variant_new_string("separator"));
            } else {
                // Mnemonics are written with '_' in dbusmenu labels, '&' in ours.
                std::string label;
                for (char c : item.text) {
                    if (c == '_') label += "__";
                    else if (c == '&') label += '_';
                    else label += c;
                }
                g_variant_builder_add(&p, "{sv}", "label", g_variant_new_string(label.c_str()));
                g_variant_builder_add(&p, "{sv}", "enabled", g_variant_new_boolean(TRUE));
                g_variant_builder_add(&p, "{sv}", "visible", g_variant_new_boolean(TRUE));
                if (item.checked) {
                    g_variant_builder_add(&p, "{sv}", "toggle-type", g_variant_new_string("checkmark"));
                    g_variant_builder_add(&p, "{sv}", "toggle-state", g_variant_new_int32(*item.checked ? 1 : 0));
                }
            }
        }
        return g_variant_builder_end(&p);
    }

    GVariant* layout(int id) const {
        GVariantBuilder children;
        g_variant_builder_init(&children, G_VARIANT_TYPE("av"));
        if (id == 0) {
            for (int i = 1; i <= static_cast<int>(menu.size()); ++i)
                g_variant_builder_add(&children, "v", layout(i));
        }
        return g_variant_new("(i@a{sv}av)", id, itemProperties(id), &children);
    }

    void clicked(int id) const {
        if (userAction) userAction();
        if (id >= 1 && id <= static_cast<int>(menu.size()) && menu[static_cast<std::size_t>(id - 1)].id != 0)
            PostMessage(target, WM_COMMAND, menu[static_cast<std::size_t>(id - 1)].id, 0);
    }
};

namespace {

using State = StatusNotifierItem::State;

const State& StateOf(gpointer data) { return **static_cast<std::shared_ptr<State>*>(data); }

void ItemCall(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* method, GVariant*,
              GDBusMethodInvocation* invocation, gpointer data) {
    const State& s = StateOf(data);
    const std::string m = method;
    if (s.userAction && (m == "Activate" || m == "ContextMenu" || m == "SecondaryActivate")) s.userAction();
    if (m == "Activate") {
        PostMessage(s.target, s.callbackMessage, s.iconId, WM_LBUTTONDBLCLK);
    } else if (m == "ContextMenu" || m == "SecondaryActivate") {
        PostMessage(s.target, s.callbackMessage, s.iconId, WM_RBUTTONUP);
    }
    g_dbus_method_invocation_return_value(invocation, nullptr);
}

GVariant* ItemProperty(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* property, GError**,
                       gpointer data) {
    const State& s = StateOf(data);
    const std::string p = property;
    if (p == "Category") return g_variant_new_string("Hardware");
    if (p == "Id") return g_variant_new_string("zavrin");
    if (p == "Title") return g_variant_new_string("Zavrin ZR2");
    if (p == "Status") return g_variant_new_string("Active");
    if (p == "WindowId") return g_variant_new_int32(0);
    if (p == "IconPixmap") return s.pixmaps();
    if (p == "OverlayIconPixmap" || p == "AttentionIconPixmap")
        return g_variant_new_array(G_VARIANT_TYPE("(iiay)"), nullptr, 0);
    if (p == "ToolTip") {
        return g_variant_new("(s@a(iiay)ss)", "", g_variant_new_array(G_VARIANT_TYPE("(iiay)"), nullptr, 0),
                             s.tip.c_str(), "");
    }
    if (p == "ItemIsMenu") return g_variant_new_boolean(FALSE);
    if (p == "Menu") return g_variant_new_object_path(kMenuPath);
    return g_variant_new_string("");  // the icon and movie names: none, the pixmap is the icon
}

void MenuCall(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* method, GVariant* params,
              GDBusMethodInvocation* invocation, gpointer data) {
    const State& s = StateOf(data);
    const std::lock_guard lock(s.menuMutex);
    const std::string m = method;
    if (m == "GetLayout") {
        gint32 parent = 0;
        gint32 depth = 0;
        g_variant_get(params, "(ii^a&s)", &parent, &depth, nullptr);
        g_dbus_method_invocation_return_value(invocation, g_variant_new("(u@(ia{sv}av))", s.menuRevision, s.layout(parent)));
    } else if (m == "GetGroupProperties") {
        GVariantIter* ids = nullptr;
        g_variant_get(params, "(ai^a&s)", &ids, nullptr);
        GVariantBuilder out;
        g_variant_builder_init(&out, G_VARIANT_TYPE("a(ia{sv})"));
        gint32 id = 0;
        while (g_variant_iter_loop(ids, "i", &id)) g_variant_builder_add(&out, "(i@a{sv})", id, s.itemProperties(id));
        g_variant_iter_free(ids);
        g_dbus_method_invocation_return_value(invocation, g_variant_new("(a(ia{sv}))", &out));
    } else if (m == "GetProperty") {
        gint32 id = 0;
        const gchar* name = nullptr;
        g_variant_get(params, "(i&s)", &id, &name);
        GVariant* props = s.itemProperties(id);
        GVariant* value = g_variant_lookup_value(props, name, nullptr);
        g_variant_unref(g_variant_ref_sink(props));
        if (value == nullptr) value = g_variant_new_string("");
        g_dbus_method_invocation_return_value(invocation, g_variant_new("(v)", value));
    } else if (m == "Event") {
        gint32 id = 0;
        const gchar* event = nullptr;
        g_variant_get(params, "(i&svu)", &id, &event, nullptr, nullptr);
        if (std::string(event) == "clicked") s.clicked(id);
        g_dbus_method_invocation_return_value(invocation, nullptr);
    } else if (m == "EventGroup") {
        GVariantIter* events = nullptr;
        g_variant_get(params, "(a(isvu))", &events);
        gint32 id = 0;
        const gchar* event = nullptr;
        GVariant* eventData = nullptr;
        guint32 time = 0;
        while (g_variant_iter_loop(events, "(i&svu)", &id, &event, &eventData, &time))
            if (std::string(event) == "clicked") s.clicked(id);
        g_variant_iter_free(events);
        g_dbus_method_invocation_return_value(invocation, g_variant_new("(ai)", nullptr));
    } else if (m == "AboutToShow") {
        g_dbus_method_invocation_return_value(invocation, g_variant_new("(b)", FALSE));
    } else if (m == "AboutToShowGroup") {
        g_dbus_method_invocation_return_value(invocation, g_variant_new("(aiai)", nullptr, nullptr));
    } else {
        g_dbus_method_invocation_return_error(invocation, G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_METHOD, "%s", method);
    }
}

GVariant* MenuProperty(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* property, GError**,
                       gpointer) {
    const std::string p = property;
    if (p == "Version") return g_variant_new_uint32(3);
    if (p == "TextDirection") return g_variant_new_string("ltr");
    if (p == "Status") return g_variant_new_string("normal");
    return g_variant_new_strv(nullptr, 0);  // IconThemePath
}

const GDBusInterfaceVTable kItemVTable = {ItemCall, ItemProperty, nullptr, {}};
const GDBusInterfaceVTable kMenuVTable = {MenuCall, MenuProperty, nullptr, {}};

// A synchronous call on the bus; the reply or null (the error is dropped).
GVariant* Call(GDBusConnection* bus, const char* dest, const char* path, const char* iface, const char* method,
               GVariant* params, const char* replyType, int timeoutMs = 2000) {
    return g_dbus_connection_call_sync(bus, dest, path, iface, method, params,
                                       replyType != nullptr ? G_VARIANT_TYPE(replyType) : nullptr,
                                       G_DBUS_CALL_FLAGS_NONE, timeoutMs, nullptr, nullptr);
}

unsigned Register(GDBusConnection* bus, const char* path, const char* xml, const GDBusInterfaceVTable* vtable,
                  const std::shared_ptr<State>& state) {
    GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(xml, nullptr);
    if (node == nullptr) return 0;
    const unsigned id = g_dbus_connection_register_object(
        bus, path, node->interfaces[0], vtable, new std::shared_ptr<State>(state),
        [](gpointer p) { delete static_cast<std::shared_ptr<State>*>(p); }, nullptr);
    g_dbus_node_info_unref(node);
    return id;
}

}  // namespace

StatusNotifierItem::StatusNotifierItem(GLibLoop& loop, GDBusConnection* bus) : loop_(loop), bus_(bus) {
    if (bus_ != nullptr) g_object_ref(bus_);
}

StatusNotifierItem::~StatusNotifierItem() {
    hide();
    if (bus_ != nullptr) g_object_unref(bus_);
}

bool StatusNotifierItem::show(const TrayIconRequest& request) {
    hide();
    if (bus_ == nullptr) return false;
    // No watcher, no tray: the caller keeps the window reachable another way.
    GVariant* has = Call(bus_, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                         "NameHasOwner", g_variant_new("(s)", "org.kde.StatusNotifierWatcher"), "(b)");
    gboolean watcher = FALSE;
    if (has != nullptr) {
        g_variant_get(has, "(b)", &watcher);
        g_variant_unref(has);
    }
    if (!watcher) return false;

    auto state = std::make_shared<State>();
    state->userAction = userActionHook_;
    state->target = request.target;
    state->callbackMessage = request.callbackMessage;
    state->iconId = request.iconId;
    state->tip = request.tip;
    state->menu = request.menu;
    if (request.icon && !request.icon->empty()) {
        const Image& img = *request.icon;
        state->iconWidth = img.width();
        state->iconHeight = img.height();
        state->iconArgb.reserve(static_cast<std::size_t>(img.width()) * img.height() * 4);
        for (int y = 0; y < img.height(); ++y) {
            for (int x = 0; x < img.width(); ++x) {
                const std::uint8_t a = img.alphaAt(x, y);
                const COLORREF c = img.colorAt(x, y);
                state->iconArgb.insert(state->iconArgb.end(), {a, static_cast<std::uint8_t>(GetRValue(c)),
                                                               static_cast<std::uint8_t>(GetGValue(c)),
                                                               static_cast<std::uint8_t>(GetBValue(c))});
            }
        }
    }
    state_ = state;

    static int serial = 0;
    busName_ = "org.kde.StatusNotifierItem-" + std::to_string(::getpid()) + "-" + std::to_string(++serial);
    loop_.inContext([&] {
        itemObject_ = Register(bus_, kItemPath, kItemXml, &kItemVTable, state_);
        menuObject_ = Register(bus_, kMenuPath, kMenuXml, &kMenuVTable, state_);
    });
    GVariant* owned = Call(bus_, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                           "RequestName", g_variant_new("(su)", busName_.c_str(), 4u /* do not queue */), "(u)");
    guint32 result = 0;
    if (owned != nullptr) {
        g_variant_get(owned, "(u)", &result);
        g_variant_unref(owned);
    }
    nameOwned_ = result == 1 || result == 4;  // primary owner, or already it
    GVariant* reply = nullptr;
    if (itemObject_ != 0 && menuObject_ != 0 && nameOwned_) {
        reply = Call(bus_, "org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher", "org.kde.StatusNotifierWatcher",
                     "RegisterStatusNotifierItem", g_variant_new("(s)", busName_.c_str()), nullptr);
    }
    if (reply == nullptr) {
        hide();
        return false;
    }
    g_variant_unref(reply);
    registered_ = true;
    // A tray that restarts (a desktop shell restarted, a panel replaced) comes
    // back with a new watcher, which learns of the item only when told again.
    loop_.inContext([&] {
        watcherSubscription_ = g_dbus_connection_signal_subscribe(
            bus_, "org.freedesktop.DBus", "org.freedesktop.DBus", "NameOwnerChanged", "/org/freedesktop/DBus",
            "org.kde.StatusNotifierWatcher", G_DBUS_SIGNAL_FLAGS_NONE,
            [](GDBusConnection* bus, const gchar*, const gchar*, const gchar*, const gchar*, GVariant* params,
               gpointer data) {
                const gchar* newOwner = nullptr;
                g_variant_get(params, "(&s&s&s)", nullptr, nullptr, &newOwner);
                if (newOwner == nullptr || *newOwner == 0) return;
                const auto* name = static_cast<const std::string*>(data);
                g_dbus_connection_call(bus, "org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher",
                                       "org.kde.StatusNotifierWatcher", "RegisterStatusNotifierItem",
                                       g_variant_new("(s)", name->c_str()), nullptr, G_DBUS_CALL_FLAGS_NONE, -1,
                                       nullptr, nullptr, nullptr);
            },
            new std::string(busName_), [](gpointer p) { delete static_cast<std::string*>(p); });
    });
    return true;
}

void StatusNotifierItem::updateMenu(const std::vector<TrayMenuItem>& menu) {
    if (!registered_ || !state_) return;
    std::uint32_t revision = 0;
    {
        const std::lock_guard lock(state_->menuMutex);
        state_->menu = menu;
        revision = ++state_->menuRevision;
    }
    // The host asks for the new layout when told it changed.
    loop_.inContext([&] {
        g_dbus_connection_emit_signal(bus_, nullptr, kMenuPath, "com.canonical.dbusmenu", "LayoutUpdated",
                                      g_variant_new("(ui)", revision, 0), nullptr);
    });
}

void StatusNotifierItem::hide() {
    if (bus_ == nullptr) return;
    if (watcherSubscription_ != 0) g_dbus_connection_signal_unsubscribe(bus_, watcherSubscription_);
    watcherSubscription_ = 0;
    if (itemObject_ != 0) g_dbus_connection_unregister_object(bus_, itemObject_);
    if (menuObject_ != 0) g_dbus_connection_unregister_object(bus_, menuObject_);
    itemObject_ = menuObject_ = 0;
    if (nameOwned_) {
        // The watcher drops the item when its name goes.
        GVariant* r = Call(bus_, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                           "ReleaseName", g_variant_new("(s)", busName_.c_str()), "(u)");
        if (r != nullptr) g_variant_unref(r);
        nameOwned_ = false;
    }
    registered_ = false;
    state_.reset();
}

}  // namespace zavrin::linuxdesktop
