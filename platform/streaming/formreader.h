#pragma once
// Reading and writing form descriptions (the text format of formlexer.h).
//
// Reading builds the component tree under a root: every component of the description is owned
// by the root and nested (SetParentComponent) in the component whose block encloses it. All of
// them are in the loading state while the description is read; references to other components
// (by name, or "OtherRoot.Name" for a component of another registered root) are resolved once
// everything is read; then every component's Loaded runs, in reading order. Any error raises
// EReadError naming the line and column, and leaves nothing half-built behind: the components the
// read created are freed and the root leaves the loading state.
#include <string_view>

#include "platform/core/component.h"

// Reads `text` into Root. The description's root class must be Root's class.
void ReadComponentFromText(TComponent* Root, std::string_view text);
// Writes Root, its published properties and its nested components.
String WriteComponentToText(TComponent* Root);

// Roots that other descriptions may refer to by name ("MainForm.ImageList1"). A registered root
// leaves the list when it is freed.
void RegisterGlobalRoot(TComponent* Root);
void UnregisterGlobalRoot(TComponent* Root);
TComponent* FindGlobalRoot(std::string_view name);
