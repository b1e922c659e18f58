#pragma once

#include <ostream>
#include <string>

#include "store/ConfigRecord.h"

// Prints what config.ini and the profile files hold, in plain words.
class ProfileDescriber {
 public:
  explicit ProfileDescriber(std::ostream& out) : m_out(out) {}

  // Settings and the four mode slots with their named profiles.
  void DescribeConfig(const ConfigRecord& record);

  // Linked programs, lighting, performance values and every key that is not default.
  void DescribeProfile(const ProfileBlock& block, const std::string& title);

 private:
  void DescribeLayer(const char* title, const ButtonInfo* keys, int count, bool gKeys);

  std::ostream& m_out;
};
