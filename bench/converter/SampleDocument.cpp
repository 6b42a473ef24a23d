#include "SampleDocument.h"

#include <bit>
#include <cstdint>
#include <cstdio>
#include <random>

namespace serz::bench {
namespace {

class Generator {
 public:
  explicit Generator(unsigned seed) : rng_(seed) {}

  std::string run(std::size_t minBytes) {
    out_.reserve(minBytes + minBytes / 8);
    out_ += "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n";
    out_ +=
        "<cRecordSet xmlns:d=\"http://www.kuju.com/TnT/2003/Delta\" d:version=\"1.0\" "
        "d:id=\"547439464\">\r\n";
    open(1, "Record");
    for (int n = 0; out_.size() < minBytes; ++n) entity(2, n);
    close(1, "Record");
    out_ += "</cRecordSet>\r\n";
    return std::move(out_);
  }

 private:
  void line(int depth, const std::string& text) {
    out_.append(static_cast<std::size_t>(depth), '\t');
    out_ += text;
    out_ += "\r\n";
  }
  void open(int depth, const std::string& name, bool withId = false) {
    line(depth, withId ? "<" + name + " d:id=\"" + std::to_string(nextId_ += 12) + "\">"
                       : "<" + name + ">");
  }
  void close(int depth, const std::string& name) { line(depth, "</" + name + ">"); }
  void value(int depth, const std::string& name, const char* type, const std::string& text) {
    line(depth, "<" + name + " d:type=\"" + type + "\">" + text + "</" + name + ">");
  }

  float randomFloat() {
    switch (rng_() % 4) {
      case 0:
        return 0.0f;
      case 1:
        return static_cast<float>(rng_() % 100);
      case 2:
        return std::uniform_real_distribution<float>(-1.0f, 1.0f)(rng_);
      default:
        return std::uniform_real_distribution<float>(-5000.0f, 5000.0f)(rng_);
    }
  }
  void floatValue(int depth, const std::string& name) {
    const double d = randomFloat();
    const auto bits = std::bit_cast<std::uint64_t>(d);
    char alt[17], text[32];
    for (int i = 0; i < 8; ++i)
      std::snprintf(alt + 2 * i, 3, "%02X", static_cast<unsigned>(bits >> (8 * i)) & 0xFF);
    std::snprintf(text, sizeof text, "%g", d);
    line(depth, "<" + name + " d:type=\"sFloat32\" d:alt_encoding=\"" + alt +
                    "\" d:precision=\"string\">" + text + "</" + name + ">");
  }
  void floatArray(int depth, const std::string& name, int n) {
    std::string text;
    char buf[64];
    for (int i = 0; i < n; ++i) {
      std::snprintf(buf, sizeof buf, i ? " %.7f" : "%.7f",
                    static_cast<double>(randomFloat() / 5000.0f));
      text += buf;
    }
    line(depth, "<" + name + " d:numElements=\"" + std::to_string(n) +
                    "\" d:elementType=\"sFloat32\" d:precision=\"string\">" + text + "</" + name +
                    ">");
  }

  void entity(int d, int n) {
    static const char* kProducts[] = {"RailSimulator", "RSC", "Kuju", "AP"};
    open(d, "cEntityContainer", true);
    open(d + 1, "Entity");
    open(d + 2, "cOwnedEntity", true);
    open(d + 3, "Component");
    open(d + 4, "cPosOri", true);
    floatArray(d + 5, "Scale", 4);
    open(d + 5, "RFarMatrix");
    open(d + 6, "cFarMatrix", true);
    value(d + 7, "Height", "bool", "0");
    floatArray(d + 7, "RXAxis", 4);
    floatArray(d + 7, "RYAxis", 4);
    floatArray(d + 7, "RZAxis", 4);
    open(d + 7, "RFarPosition");
    open(d + 8, "cFarVector2", true);
    for (const char* axis : {"X", "Z"}) {
      open(d + 9, axis);
      open(d + 10, "cFarCoordinate", true);
      value(d + 11, "RouteCoordinate", "sInt32",
            std::to_string(static_cast<int>(rng_() % 20000) - 10000));
      floatValue(d + 11, "TileCoordinate");
      close(d + 10, "cFarCoordinate");
      close(d + 9, axis);
    }
    close(d + 8, "cFarVector2");
    close(d + 7, "RFarPosition");
    close(d + 6, "cFarMatrix");
    close(d + 5, "RFarMatrix");
    close(d + 4, "cPosOri");
    if (n % 4 == 0) {
      open(d + 4, "cAnimObjectRender", true);
      floatArray(d + 5, "e", 16);
      value(d + 5, "DetailLevel", "sInt32", std::to_string(rng_() % 10));
      value(d + 5, "Global", "bool", "0");
      line(d + 5, "<Saved/>");
      close(d + 4, "cAnimObjectRender");
    }
    close(d + 3, "Component");
    open(d + 3, "BlueprintID");
    open(d + 4, "iBlueprintLibrary-cAbsoluteBlueprintID");
    open(d + 5, "BlueprintSetID");
    open(d + 6, "iBlueprintLibrary-cBlueprintSetID");
    value(d + 7, "Provider", "cDeltaString", "Kuju");
    value(d + 7, "Product", "cDeltaString", kProducts[rng_() % 4]);
    close(d + 6, "iBlueprintLibrary-cBlueprintSetID");
    close(d + 5, "BlueprintSetID");
    value(d + 5, "BlueprintID", "cDeltaString",
          "Scenery\\Trees\\Tree_" + std::to_string(rng_() % 500) + ".xml");
    close(d + 4, "iBlueprintLibrary-cAbsoluteBlueprintID");
    close(d + 3, "BlueprintID");
    open(d + 3, "ReplicationId");
    open(d + 4, "cGUID");
    open(d + 5, "UUID");
    const std::uint64_t a = (static_cast<std::uint64_t>(rng_()) << 32) | rng_();
    const std::uint64_t b = (static_cast<std::uint64_t>(rng_()) << 32) | rng_();
    value(d + 6, "e", "sUInt64", std::to_string(a));
    value(d + 6, "e", "sUInt64", std::to_string(b));
    close(d + 5, "UUID");
    char guid[40];
    std::snprintf(guid, sizeof guid, "%08x-%04x-%04x-%04x-%08x", static_cast<unsigned>(a),
                  static_cast<unsigned>(a >> 32) & 0xFFFF, static_cast<unsigned>(b) & 0xFFFF,
                  static_cast<unsigned>(b >> 16) & 0xFFFF, static_cast<unsigned>(b >> 32));
    value(d + 5, "DevString", "cDeltaString", guid);
    close(d + 4, "cGUID");
    close(d + 3, "ReplicationId");
    value(d + 3, "Name", "cDeltaString", n % 3 ? "" : "Tree near signal " + std::to_string(n));
    value(d + 3, "Flipped", "bool", std::to_string(rng_() % 2));
    open(d + 3, "Driver");
    line(d + 4, "<d:nil/>");
    close(d + 3, "Driver");
    close(d + 2, "cOwnedEntity");
    close(d + 1, "Entity");
    close(d, "cEntityContainer");
  }

  std::mt19937 rng_;
  std::string out_;
  std::uint32_t nextId_ = 1299843392;
};

}  // namespace

std::string generateSampleXml(std::size_t minBytes, unsigned seed) {
  return Generator(seed).run(minBytes);
}

}  // namespace serz::bench
