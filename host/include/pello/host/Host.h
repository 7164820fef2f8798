// The stand-in host: one at a time per process. Suite functions, which the
// plug-in calls without any context, reach it through Host::current().
#pragma once

#include "pello/host/CallLog.h"
#include "pello/host/Faults.h"
#include "pello/host/SuiteRegistry.h"

#include <cstdint>
#include <map>
#include <memory>
#include <typeindex>
#include <vector>

namespace pello::host {

// A part of the host's state (document, dialogs, menus...). Created on first
// use by Host::get<T>() and destroyed with the host.
class Component {
public:
  virtual ~Component() = default;
};

class Host {
public:
  Host();
  ~Host();
  Host(const Host &) = delete;
  Host &operator=(const Host &) = delete;

  // The host in this process; aborts when there is none.
  static Host &current();
  // The host in this process, or null.
  static Host *active();

  Faults &faults() { return faults_; }
  CallLog &log() { return log_; }
  SuiteRegistry &suites() { return suites_; }

  // The component of type T, created (T(Host&)) on first use.
  template <class T> T &get() {
    // Suite functions ask for their component on every call, and the map
    // compares type names: the answer is kept per type, for the host whose
    // generation asked last (a later host may live at the same address).
    static std::uint64_t cachedGeneration = 0;
    static T *cached = nullptr;
    if (cachedGeneration == generation_) return *cached;
    cached = &find<T>();
    cachedGeneration = generation_;
    return *cached;
  }

private:
  template <class T> T &find() {
    auto it = components_.find(std::type_index(typeid(T)));
    if (it == components_.end()) {
      auto made = std::make_unique<T>(*this);
      T &ref = *made;
      components_.emplace(std::type_index(typeid(T)), made.get());
      owned_.push_back(std::move(made));
      return ref;
    }
    return static_cast<T &>(*it->second);
  }

  std::uint64_t generation_; // unique to this host in the process, from 1
  Faults faults_;
  CallLog log_;
  SuiteRegistry suites_;
  std::map<std::type_index, Component *> components_;
  std::vector<std::unique_ptr<Component>> owned_; // destroyed newest first
};

// Adds every suite of the host's table to `registry`; each family of suites
// registers from its own file.
void registerAllSuites(SuiteRegistry &registry);
void registerShellSuites(SuiteRegistry &registry); // SP, menu, notifier, prefs, maths, user...
void registerArtSuites(SuiteRegistry &registry);   // art, styles, text paths, placed, raster...
void registerAdmSuites(SuiteRegistry &registry);   // the dialog manager's suites

} // namespace pello::host
