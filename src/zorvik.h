// zorvik.h - the zorvik module's application object and module-wide state.
//
// ModuleApp is the one application object of the module: it holds the user's settings and,
// while the module is initialised, the copy repair reactor; it registers the module's classes
// and commands when the host initialises the module and removes them when the host unloads
// it. Every part of the module reaches it through getModuleApp().
#pragma once

#include <string>

#include "moduleappbase.h"

class AcZorvikEditorReactor;

// The five user settings, with the defaults of a fresh installation.
struct Settings {
  bool autoUpdate = true;  // links rewrite their attribute when the polyline changes
  int areaPrec = 2;        // decimals of the area text
  double divisor = 1.0;    // the area is divided by this before it is formatted
  bool quietMode = false;  // Create picks the attribute named attname without asking
  std::string attname;     // the attribute tag that quiet mode uses
};

class ModuleApp : public ModuleAppBase {
public:
  ModuleApp();
  ~ModuleApp() override;

  // Registration and initialisation steps of the start-up and shut-down sequences.
  void registerClasses() override;
  void unregisterClasses() override;
  Acad::ErrorStatus registerCommands() override;
  Acad::ErrorStatus unregisterCommands() override;
  // Creates the copy repair reactor and loads the settings; answers kRetError when the
  // reactor cannot be created (nothing is undone then and the settings keep their values).
  AcRx::AppRetCode onInitApp() override;
  // Destroys the copy repair reactor, if one is held; prints the error log when it is not
  // empty, as the log is otherwise never shown.
  AcRx::AppRetCode onUnloadApp() override;

  // Settings. The setters check nothing and do not save; saveSettings() writes the registry.
  bool autoUpdate() const { return m_settings.autoUpdate; }
  void setAutoUpdate(int value) { m_settings.autoUpdate = value != 0; }
  int areaPrec() const { return m_settings.areaPrec; }
  void setAreaPrec(int value) { m_settings.areaPrec = value; }
  double divisor() const { return m_settings.divisor; }
  void setDivisor(double value) { m_settings.divisor = value; }
  bool quietMode() const { return m_settings.quietMode; }
  void setQuietMode(int value) { m_settings.quietMode = value != 0; }
  // Valid until the next change of the setting.
  const char* attname() const { return m_settings.attname.c_str(); }
  void setAttname(const char* text) { m_settings.attname = text != nullptr ? text : ""; }

  // Reads every accepted value of the registry key into the settings (missing key or
  // rejected values leave settings unchanged).
  void loadSettings();
  // Writes all five settings to the registry key, creating it when it is missing.
  void saveSettings();

  AcZorvikEditorReactor* editorReactor() const { return m_pEditorReactor; }

private:
  AcZorvikEditorReactor* m_pEditorReactor;
  Settings m_settings;
};

// The module's single application object.
ModuleApp* getModuleApp();

// The key below HKEY_CURRENT_USER that holds the settings: the host's product key followed by
// "\VelmoraApps\Zorvik\Settings".
std::string settingsKeyPath();
