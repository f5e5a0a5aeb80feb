#include "platform/themes/stylefile.h"

#include <zlib.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace {
// "\x8B" keeps the file from reading as text; "\r\n" and "\x1A\n" reveal line-end conversion.
constexpr uint8_t kSignature[8] = {0x8B, 'K', 'V', 'S', '\r', '\n', 0x1A, '\n'};
constexpr size_t kHeaderSize = 24;  // signature, version u16, flags u16, sizes u32 x 2, crc u32
constexpr uint32_t kMaxPayload = 64u << 20;

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
uint32_t Get16(const uint8_t* p) { return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8); }
uint32_t Get32(const uint8_t* p) { return Get16(p) | (Get16(p + 2) << 16); }

class TPayloadReader {
public:
  TPayloadReader(const std::vector<uint8_t>& b, const String& source) : B(b), Source(source) {}
  uint32_t U32() {
    Need(4);
    uint32_t v = Get32(&B[Pos]);
    Pos += 4;
    return v;
  }
  uint32_t U16() {
    Need(2);
    uint32_t v = Get16(&B[Pos]);
    Pos += 2;
    return v;
  }
  std::vector<uint8_t> Bytes(uint32_t n) {
    Need(n);
    std::vector<uint8_t> v(B.begin() + static_cast<ptrdiff_t>(Pos), B.begin() + static_cast<ptrdiff_t>(Pos + n));
    Pos += n;
    return v;
  }
  bool AtEnd() const { return Pos == B.size(); }

private:
  void Need(size_t n) {
    if (B.size() - Pos < n) throw EStyleError(Source, 0, 0, "the style file is damaged (its contents end early)");
  }
  const std::vector<uint8_t>& B;
  const String& Source;
  size_t Pos = 0;
};

void AppendEntry(std::vector<uint8_t>& out, const String& name, std::span<const uint8_t> data) {
  Put16(out, static_cast<uint32_t>(name.size()));
  out.insert(out.end(), name.begin(), name.end());
  Put32(out, static_cast<uint32_t>(data.size()));
  out.insert(out.end(), data.begin(), data.end());
}

String Folder(const String& path) {
  size_t slash = path.rfind('/');
  return slash == String::npos ? String() : path.substr(0, slash + 1);
}
}  // namespace

TStyleFileReader TStyleSource::Reader() const {
  return [this](const String& name) -> std::vector<uint8_t> {
    for (const auto& f : Files)
      if (f.first == name) return f.second;
    throw EReadError("file '" + name + "' is not in the style file");
  };
}

bool IsPackedStyle(std::span<const uint8_t> bytes) {
  return bytes.size() >= sizeof kSignature && std::memcmp(bytes.data(), kSignature, sizeof kSignature) == 0;
}

std::vector<uint8_t> PackStyle(const TStyleSource& source) {
  std::vector<uint8_t> payload;
  Put32(payload, static_cast<uint32_t>(source.Files.size() + 1));
  AppendEntry(payload, "", std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(source.Text.data()), source.Text.size()));
  for (const auto& f : source.Files) AppendEntry(payload, f.first, f.second);
  if (payload.size() > kMaxPayload) throw EStyleError("style", 0, 0, "the style is larger than 64 MiB");

  uLongf packedSize = compressBound(static_cast<uLong>(payload.size()));
  std::vector<uint8_t> out(kHeaderSize + packedSize);
  if (compress2(out.data() + kHeaderSize, &packedSize, payload.data(), static_cast<uLong>(payload.size()), 9) != Z_OK)
    throw EOutOfResources("the style could not be compressed");
  out.resize(kHeaderSize + packedSize);
  std::vector<uint8_t> header(kSignature, kSignature + sizeof kSignature);
  Put16(header, kStylePackVersion);
  Put16(header, 0);
  Put32(header, static_cast<uint32_t>(payload.size()));
  Put32(header, static_cast<uint32_t>(packedSize));
  Put32(header, static_cast<uint32_t>(crc32(0, payload.data(), static_cast<uInt>(payload.size()))));
  std::copy(header.begin(), header.end(), out.begin());
  return out;
}

TStyleSource UnpackStyle(std::span<const uint8_t> bytes, const String& source) {
  auto fail = [&](const String& what) -> void { throw EStyleError(source, 0, 0, what); };
  bool signaturePrefix = !bytes.empty() && bytes.size() < sizeof kSignature &&
                         std::memcmp(bytes.data(), kSignature, bytes.size()) == 0;
  if (signaturePrefix) fail("the style file is truncated");
  if (!IsPackedStyle(bytes)) fail("not a style file (unknown signature)");
  if (bytes.size() < kHeaderSize) fail("the style file is truncated");
  uint32_t version = Get16(&bytes[8]);
  uint32_t payloadSize = Get32(&bytes[12]);
  uint32_t packedSize = Get32(&bytes[16]);
  uint32_t crc = Get32(&bytes[20]);
  if (version == 0) fail("the style file is damaged (format version 0)");
  if (version > kStylePackVersion)
    fail("the style file was made by a newer program (format " + IntToStr(version) + "; this program reads up to " +
         IntToStr(kStylePackVersion) + ")");
  if (Get16(&bytes[10]) != 0) fail("the style file uses features this program does not know");
  if (packedSize > bytes.size() - kHeaderSize) fail("the style file is truncated");
  if (packedSize < bytes.size() - kHeaderSize) fail("the style file is damaged (bytes after its end)");
  if (payloadSize > kMaxPayload) fail("the style file is damaged (its contents would be larger than 64 MiB)");

  std::vector<uint8_t> payload(payloadSize);
  uLongf got = payloadSize;
  int rc = uncompress(payload.data(), &got, bytes.data() + kHeaderSize, packedSize);
  if (rc != Z_OK || got != payloadSize) fail("the style file is damaged (its compressed contents do not unpack)");
  if (crc32(0, payload.data(), static_cast<uInt>(payload.size())) != crc) fail("the style file is damaged (checksum mismatch)");

  TPayloadReader r(payload, source);
  uint32_t count = r.U32();
  if (count == 0 || count > 10000) fail("the style file is damaged (bad entry count)");
  TStyleSource out;
  for (uint32_t i = 0; i < count; ++i) {
    std::vector<uint8_t> name = r.Bytes(r.U16());
    std::vector<uint8_t> data = r.Bytes(r.U32());
    String n(name.begin(), name.end());
    if (i == 0) {
      if (!n.empty()) fail("the style file is damaged (no style text)");
      out.Text.assign(data.begin(), data.end());
    } else {
      if (n.empty()) fail("the style file is damaged (an unnamed file)");
      if (n.front() == '/' || n.find("..") != String::npos || n.find('\\') != String::npos || !utf8::IsValid(n))
        fail("the style file holds a file outside its folder: '" + n + "'");
      out.Files.emplace_back(std::move(n), std::move(data));
    }
  }
  if (!r.AtEnd()) fail("the style file is damaged (data after its last entry)");
  return out;
}

TStyleData LoadStyleData(std::span<const uint8_t> bytes, const String& source, const TStyleFileReader& files) {
  if (!bytes.empty() && bytes[0] == kSignature[0]) {
    TStyleSource s = UnpackStyle(bytes, source);
    return ParseStyle(s.Text, source, s.Reader());
  }
  // A text style begins, after blanks and comments, with "kvstyle".
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  size_t i = text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
  for (;;) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) ++i;
    if (text.substr(i, 2) != "//") break;
    while (i < text.size() && text[i] != '\n') ++i;
  }
  if (text.substr(i, 7) != "kvstyle") throw EStyleError(source, 0, 0, "not a style file (unknown signature)");
  return ParseStyle(text, source, files);
}

std::vector<uint8_t> ReadFileBytes(const String& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EReadError("cannot open '" + path + "'");
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw EReadError("cannot read '" + path + "'");
  return bytes;
}

void WriteFileBytes(const String& path, std::span<const uint8_t> bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) throw EReadError("cannot create '" + path + "'");
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw EReadError("cannot write '" + path + "'");
}

TStyleSource ReadStyleSource(const String& path) {
  std::vector<uint8_t> bytes = ReadFileBytes(path);
  if (IsPackedStyle(bytes)) throw EStyleError(path, 0, 0, "this is a packed style, not a style text");
  TStyleSource source;
  source.Text.assign(bytes.begin(), bytes.end());
  String folder = Folder(path);
  auto reader = [&](const String& name) {
    std::vector<uint8_t> file = ReadFileBytes(folder + name);
    for (const auto& f : source.Files)
      if (f.first == name) return file;
    source.Files.emplace_back(name, file);
    return file;
  };
  LoadStyleData(bytes, path, reader);
  return source;
}

TStyleData LoadStyleFile(const String& path) {
  std::vector<uint8_t> bytes = ReadFileBytes(path);
  String folder = Folder(path);
  return LoadStyleData(bytes, path, [&](const String& name) { return ReadFileBytes(folder + name); });
}
