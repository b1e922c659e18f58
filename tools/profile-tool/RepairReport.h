#pragma once

#include <optional>
#include <ostream>
#include <string>

// Says what loading config.ini and the profile files would repair, and why,
// without writing anything.
class RepairReport {
 public:
  explicit RepairReport(std::ostream& out) : m_out(out) {}

  // config.ini of the data folder, then the profile file of each mode slot.
  void CheckDataFolder(const std::string& dataFolder);

  // One profile file; `slot` chooses the default colours the repair would use,
  // `expectedName` the name loading would write into it, when known.
  void CheckProfile(const std::string& path, int slot,
                    const std::optional<std::u16string>& expectedName);

  // How many repairs were found so far.
  int Repairs() const { return m_repairs; }

 private:
  void Repair(const std::string& text);
  void Note(const std::string& text);

  std::ostream& m_out;
  int m_repairs = 0;
};
