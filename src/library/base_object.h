// TBaseObject: the root of every record that can be stored in a library data
// file. Readers and writers of the value encoding are declared here.
#pragma once

namespace tavio {

class TReader;
class TWriter;

class TBaseObject {
 public:
  virtual ~TBaseObject() = default;
  virtual void LoadFromReader(TReader& reader) = 0;
  virtual void SaveToWriter(TWriter& writer) const = 0;
};

}  // namespace tavio
