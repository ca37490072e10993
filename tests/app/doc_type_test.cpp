#include "app/doc_type.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace hw {
namespace {

// A registry of default values that can refuse writes.
class FakeRegistry final : public Registry {
 public:
  std::map<std::string, std::string> values;
  bool refuseWrites = false;

  Status queryString(RegistryRoot root, const std::string& subKey, const std::string& valueName,
                     std::string& value) override {
    auto it = values.find(subKey);
    if (root != RegistryRoot::classesRoot || !valueName.empty() || it == values.end()) {
      return Status::fileNotFound;
    }
    value = it->second;
    return Status::ok;
  }
  Status setString(RegistryRoot root, const std::string& subKey, const std::string& valueName,
                   const std::string& value) override {
    if (refuseWrites) return Status::accessDenied;
    if (root == RegistryRoot::classesRoot && valueName.empty()) values[subKey] = value;
    return Status::ok;
  }
};

TEST(DocTypeTest, KvxTakesTheTypeOfDoc) {
  FakeRegistry registry;
  registry.values[".DOC"] = "Word.Document.8";
  registry.values[".KVX"] = "old";
  EXPECT_EQ(RegisterReportDocumentType(registry), 1);
  EXPECT_EQ(registry.values[".KVX"], "Word.Document.8");
}

TEST(DocTypeTest, StopsAtTheFirstFailingStep) {
  FakeRegistry none;
  EXPECT_EQ(RegisterReportDocumentType(none), 0);
  EXPECT_EQ(none.values.count(".KVX"), 0u);

  FakeRegistry refusing;
  refusing.values[".DOC"] = "Word.Document.8";
  refusing.refuseWrites = true;
  EXPECT_EQ(RegisterReportDocumentType(refusing), 0);
}

TEST(DocTypeTest, TypeMustFitTheReadBuffer) {
  FakeRegistry registry;
  registry.values[".DOC"] = std::string(255, 't');
  EXPECT_EQ(RegisterReportDocumentType(registry), 1);
  registry.values.erase(".KVX");
  registry.values[".DOC"] = std::string(256, 't');
  EXPECT_EQ(RegisterReportDocumentType(registry), 0);
  EXPECT_EQ(registry.values.count(".KVX"), 0u);
}

}  // namespace
}  // namespace hw
