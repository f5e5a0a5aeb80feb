#pragma once
// The interfaces through which persistent objects store data that is not a plain published
// property (the lines of a string list, the pixels of a picture): a class announces such data in
// DefineProperties, and the form reader and writer call back with a TReader or TWriter. The
// reader and writer themselves live in platform/streaming.
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/core/enums.h"
#include "platform/core/strings.h"

KV_ENUM(TValueType, vaNull, vaList, vaInt, vaExtended, vaString, vaIdent, vaFalse, vaTrue,
        vaBinary, vaSet, vaNil, vaCollection)

class TReader {
public:
  virtual ~TReader() = default;
  // Kind of the next value, without consuming it.
  virtual TValueType NextValue() = 0;
  virtual int64_t ReadInteger() = 0;
  virtual double ReadFloat() = 0;
  virtual String ReadString() = 0;
  virtual bool ReadBoolean() = 0;
  virtual String ReadIdent() = 0;
  virtual std::vector<uint8_t> ReadBinary() = 0;
  // A parenthesised list of values: ReadListBegin, values while !EndOfList, ReadListEnd.
  virtual void ReadListBegin() = 0;
  virtual bool EndOfList() = 0;
  virtual void ReadListEnd() = 0;
  // Raises EReadError with the reader's position.
  [[noreturn]] virtual void Error(const String& Message) = 0;
};

class TWriter {
public:
  virtual ~TWriter() = default;
  virtual void WriteInteger(int64_t Value) = 0;
  virtual void WriteFloat(double Value) = 0;
  virtual void WriteString(const String& Value) = 0;
  virtual void WriteBoolean(bool Value) = 0;
  virtual void WriteIdent(const String& Value) = 0;
  virtual void WriteBinary(const std::vector<uint8_t>& Data) = 0;
  virtual void WriteListBegin() = 0;
  virtual void WriteListEnd() = 0;
};

class TFiler {
public:
  virtual ~TFiler() = default;
  using TReaderProc = std::function<void(TReader&)>;
  using TWriterProc = std::function<void(TWriter&)>;
  // Announces a stored value `Name`; HasData says whether the writer should store it now.
  virtual void DefineProperty(const String& Name, TReaderProc ReadData, TWriterProc WriteData, bool HasData) = 0;
};
