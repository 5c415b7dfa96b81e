// resource_loader.cpp - reads the resource script a module file carries (the symbols
// cadhost_resource_script, cadhost_resource_headers and cadhost_resource_script_name that
// cmake/EmbedResources.cmake generates), parses it once per module, and finds strings and
// dialog templates the way MFC searches its resource modules.
#ifndef _GNU_SOURCE
#define _GNU_SOURCE
#endif
#include <dlfcn.h>
#include <link.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <string>

#include "pf/resource_context.h"
#include "pf/resources.h"
#include "pf/windows.h"
#include "resource_state.h"

namespace pf {
namespace ui {
namespace {

struct Override {
  HINSTANCE handle = nullptr;
  HINSTANCE underlying = nullptr;  // the current handle when the override was set
  bool set = false;
};
Override g_override;

struct ExtensionModule {
  const void* owner;
  HINSTANCE module;
  // Where and what the module was when it registered: a module unloaded without ending its
  // extension library must not be searched (its handle would be dangling).
  ElfW(Addr) base;
  std::string file;
};

// True while an object with this load address and file is loaded.
bool stillLoaded(const ExtensionModule& e) {
  struct Query {
    const ExtensionModule* e;
    bool found;
  } q{&e, false};
  dl_iterate_phdr(
      [](struct dl_phdr_info* info, size_t, void* data) {
        auto* query = static_cast<Query*>(data);
        if (info->dlpi_addr == query->e->base && query->e->file == (info->dlpi_name ? info->dlpi_name : "")) {
          query->found = true;
          return 1;
        }
        return 0;
      },
      &q);
  return q.found;
}
std::vector<ExtensionModule>& extensions() {
  static std::vector<ExtensionModule> list;
  return list;
}

}  // namespace

void setResourceOverride(HINSTANCE handle) {
  HINSTANCE current = currentResourceHandle();
  if (handle == current) {
    g_override = Override();
    return;
  }
  g_override.handle = handle;
  g_override.underlying = current;
  g_override.set = true;
}

void addExtensionResourceModule(const void* owner, HINSTANCE module) {
  struct link_map* map = nullptr;
  if (!module || dlinfo(reinterpret_cast<void*>(module), RTLD_DI_LINKMAP, &map) != 0 || !map) return;
  extensions().insert(extensions().begin(), ExtensionModule{owner, module, map->l_addr, map->l_name ? map->l_name : ""});
}

void removeExtensionResourceModule(const void* owner) {
  auto& l = extensions();
  l.erase(std::remove_if(l.begin(), l.end(), [owner](const ExtensionModule& e) { return e.owner == owner; }),
          l.end());
}

std::vector<HINSTANCE> extensionResourceModules() {
  std::vector<HINSTANCE> out;
  for (const ExtensionModule& e : extensions())
    if (stillLoaded(e)) out.push_back(e.module);
  return out;
}

}  // namespace ui

HINSTANCE effectiveResourceHandle() {
  HINSTANCE current = currentResourceHandle();
  if (ui::g_override.set && ui::g_override.underlying == current) return ui::g_override.handle;
  return current;
}

namespace {

struct CachedScript {
  std::string text;      // the script the parse was made from, to notice a reloaded module
  std::string headers;
  std::shared_ptr<const ResourceScript> script;
  RcError error;
  bool reported = false;
};

std::map<HINSTANCE, CachedScript>& cache() {
  static std::map<HINSTANCE, CachedScript> c;
  return c;
}

// The address must belong to the module itself, not to a library it depends on or (for the
// host program's handle) to some other module loaded into the global scope.
bool symbolBelongsTo(void* handle, const void* address) {
  struct link_map* own = nullptr;
  if (dlinfo(handle, RTLD_DI_LINKMAP, &own) != 0 || !own) return false;
  Dl_info info;
  struct link_map* where = nullptr;
  if (!dladdr1(address, &info, reinterpret_cast<void**>(&where), RTLD_DL_LINKMAP) || !where) return false;
  return where == own;
}

std::string headersBlock(const char* headers) {
  // name\0content\0 ... \0\0: keep the whole block for comparison.
  std::string out;
  if (!headers) return out;
  const char* p = headers;
  while (*p) {
    size_t n = std::strlen(p);
    out.append(p, n + 1);
    p += n + 1;
    size_t c = std::strlen(p);
    out.append(p, c + 1);
    p += c + 1;
  }
  return out;
}

}  // namespace

std::shared_ptr<const ResourceScript> moduleResourcesNoOops(HINSTANCE module, RcError* error) {
  if (!module) return nullptr;  // dlsym(NULL, ...) would search everything
  void* handle = reinterpret_cast<void*>(module);
  const char* script = static_cast<const char*>(dlsym(handle, "cadhost_resource_script"));
  if (!script || !symbolBelongsTo(handle, script)) return nullptr;
  const char* headers = static_cast<const char*>(dlsym(handle, "cadhost_resource_headers"));
  if (headers && !symbolBelongsTo(handle, headers)) headers = nullptr;
  const char* name = static_cast<const char*>(dlsym(handle, "cadhost_resource_script_name"));
  if (name && !symbolBelongsTo(handle, name)) name = nullptr;

  CachedScript& entry = cache()[module];
  std::string block = headersBlock(headers);
  if (entry.text != script || entry.headers != block || (!entry.script && entry.error.message.empty())) {
    entry = CachedScript();
    entry.text = script;
    entry.headers = block;
    std::map<std::string, std::string> files;
    for (const char* p = headers; p && *p;) {
      std::string n = p;
      p += n.size() + 1;
      std::string content = p;
      p += content.size() + 1;
      files[n] = content;
    }
    RcIncludeResolver resolver = [files](const std::string& n, std::string& content) {
      auto it = files.find(n);
      if (it == files.end()) return false;
      content = it->second;
      return true;
    };
    auto parsed = std::make_shared<ResourceScript>();
    RcError err;
    if (parseResourceScript(name ? name : "resources.rc", entry.text, resolver, *parsed, err)) {
      entry.script = parsed;
    } else {
      entry.error = err;
    }
  }
  if (!entry.script) {
    if (error) *error = entry.error;
    if (!entry.reported) {
      // A broken script is a build problem; say so once, where the user sees it.
      entry.reported = true;
      uiPrint("*** Resources of a module cannot be read: " + entry.error.toString());
    }
  }
  return entry.script;
}

namespace {

// MFC's search order: the current resource module, the extension libraries, the host.
std::vector<HINSTANCE> searchOrder() {
  std::vector<HINSTANCE> order;
  auto add = [&order](HINSTANCE h) {
    if (h && std::find(order.begin(), order.end(), h) == order.end()) order.push_back(h);
  };
  add(effectiveResourceHandle());
  for (HINSTANCE h : ui::extensionResourceModules()) add(h);
  add(hostModuleHandle());
  return order;
}

}  // namespace

HINSTANCE findStringModuleNoOops(UINT id, std::string* text) {
  for (HINSTANCE h : searchOrder()) {
    auto script = moduleResourcesNoOops(h);
    if (!script) continue;
    if (const std::string* s = script->findStringNoOops(id)) {
      if (text) *text = *s;
      return h;
    }
  }
  return nullptr;
}

HINSTANCE findDialogModuleNoOops(UINT id, const RcDialog** dialog) {
  for (HINSTANCE h : searchOrder()) {
    auto script = moduleResourcesNoOops(h);
    if (!script) continue;
    if (const RcDialog* d = script->findDialogNoOops(id)) {
      // The cache keeps the script alive as long as the module is loaded.
      if (dialog) *dialog = d;
      return h;
    }
  }
  return nullptr;
}

}  // namespace pf
