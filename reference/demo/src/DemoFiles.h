#pragma once
// The texts of the demo environment's settings files, and the file operations that write them.
#include <string>

#include "qmx/reference/DemoEnvironment.h"

namespace qmx::reference {

// A text as a quoted value of a registry export file ('\' and '"' escaped).
std::string RegistryString(const std::string& value);

std::string DemoRegistryText(const DemoEnvironment& environment, const DemoOptions& options,
                             const std::string& libraryFolder);
std::string DemoClientIniText(const DemoOptions& options);
std::string DemoServerIniText(const DemoEnvironment& environment, const DemoOptions& options);

// Writes the file whole (replacing it); raises Exception when it cannot.
void WriteTextFile(const std::string& fileName, const std::string& text);
// Copies every file below from into to, keeping the tree; missing from copies nothing.
void CopyTree(const std::string& from, const std::string& to);

} // namespace qmx::reference
