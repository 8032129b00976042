#include "MetadataBench.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <iomanip>
#include <iostream>
#include <map>
#include <memory>
#include <string>

#include "ChildProcess.h"
#include "ExifWriter.h"
#include "MetadataWriter.h"
#include "Md5.h"
#include "TempDir.h"

namespace {

// A packet of some 10 MB as editors write large ones: a long history of
// events (35,000 of five fields each).
std::string LongHistoryPacket() {
  std::string Events;
  for (int Event = 0; Event < 35000; ++Event) {
    const std::string Id = std::to_string(100000 + Event);
    Events += "<rdf:li rdf:parseType='Resource'><stEvt:action>saved</stEvt:action>"
              "<stEvt:instanceID>xmp.iid:0A8011740720681192B0" + Id + "</stEvt:instanceID>"
              "<stEvt:when>2024-05-06T07:08:09+02:00</stEvt:when>"
              "<stEvt:softwareAgent>Adobe Photoshop CS6 (Macintosh)</stEvt:softwareAgent>"
              "<stEvt:changed>/</stEvt:changed></rdf:li>\n";
  }
  std::string Packet = XmpPacket("<rdf:Description xmp:Rating='3'><xmpMM:History><rdf:Seq>" + Events +
                                 "</rdf:Seq></xmpMM:History></rdf:Description>");
  Packet.replace(Packet.find("<rdf:RDF "), 9,
                 "<rdf:RDF xmlns:xmpMM='http://ns.adobe.com/xap/1.0/mm/' "
                 "xmlns:stEvt='http://ns.adobe.com/xap/1.0/sType/ResourceEvent#' ");
  return Packet;
}

// 60,000 properties of a namespace of their own, in one description.
std::string ManyPropertiesPacket() {
  std::string Body = "<rdf:Description";
  for (int Property = 0; Property < 60000; ++Property)
    Body += " my:Property" + std::to_string(Property) + "='value " + std::to_string(Property) + "'";
  std::string Packet = XmpPacket(Body + "/>");
  Packet.replace(Packet.find("<rdf:RDF "), 9, "<rdf:RDF xmlns:my='http://example.com/my/' ");
  return Packet;
}

// A JPEG file whose standard packet names an Extended XMP packet of Packet,
// cut into segments as writers cut it.
TBytes JpegWithExtendedXmp(const std::string& Packet) {
  const std::string Guid = Md5Hex(BytesOf(Packet));
  std::vector<TBytes> Segments{XmpSegment(XmpPacket("<rdf:Description xmpNote:HasExtendedXMP='" + Guid + "'/>"))};
  constexpr size_t Part = 65000;
  for (size_t At = 0; At < Packet.size(); At += Part)
    Segments.push_back(XmpExtensionSegment(Guid, uint32_t(Packet.size()), uint32_t(At),
                                           std::string_view(Packet).substr(At, Part)));
  return JpegWith(Segments);
}

TBytes TiffWithXmp(const std::string& Packet) {
  TIfd Ifd0;
  Ifd0.Ascii(0x010F, "Canon").Byte(700, std::vector<uint8_t>(Packet.begin(), Packet.end()), ftUndefined);
  return TiffBlock(Ifd0);
}

struct TMetadataFile {
  const char* Name;       // of the benchmark
  const char* Label;      // in the summary
  std::string Path;
};

std::vector<TMetadataFile>& Files() {
  static std::vector<TMetadataFile> List;
  return List;
}

std::map<std::string, std::vector<TChildCost>>& Runs() {
  static std::map<std::string, std::vector<TChildCost>> Costs;
  return Costs;
}

// The time of an iteration is the child's CPU time.
void DumpProcess(benchmark::State& State, const TMetadataFile& File) {
  std::vector<TChildCost>& Costs = Runs()[File.Name];
  for (auto _ : State) {
    const std::optional<TChildCost> Cost = RunChild({LUMENTAG_DUMP, File.Path});
    if (!Cost || Cost->Status != 0) {
      State.SkipWithError("lumentag-dump could not be run");
      break;
    }
    State.SetIterationTime(Cost->CpuSeconds);
    State.counters["peak_MB"] = Cost->PeakMB;
    Costs.push_back(*Cost);
  }
}

double Median(std::vector<double> Values) {
  if (Values.empty()) return 0;
  std::sort(Values.begin(), Values.end());
  return Values[Values.size() / 2];
}

}  // namespace

void RegisterMetadataBenchmarks() {
  static const auto Dir = std::make_unique<TTempDir>();
  const std::string History = LongHistoryPacket(), Many = ManyPropertiesPacket();
  Files() = {
      {"Process/DumpXmp10MB", "10 MB packet, TIFF tag 700", Dir->Write("history.tif", TiffWithXmp(History))},
      {"Process/DumpXmp60000Properties", "60,000 properties, Extended XMP",
       Dir->Write("properties.jpg", JpegWithExtendedXmp(Many))},
  };
  std::cout << "XMP packets of " << History.size() / 1000 << " KB and " << Many.size() / 1000 << " KB\n";
  for (const TMetadataFile& File : Files())
    benchmark::RegisterBenchmark(File.Name, [&File](benchmark::State& State) { DumpProcess(State, File); })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
}

void PrintMetadataResults() {
  if (Runs().empty()) return;
  std::cout << "\nlumentag-dump on XMP (medians; goal < 500 ms, 200 MB)   CPU ms    wall ms   peak MB\n";
  for (const TMetadataFile& File : Files()) {
    const auto Found = Runs().find(File.Name);
    if (Found == Runs().end() || Found->second.empty()) continue;
    std::vector<double> Cpu, Wall, Peak;
    for (const TChildCost& Run : Found->second)
      Cpu.push_back(Run.CpuSeconds * 1e3), Wall.push_back(Run.WallSeconds * 1e3), Peak.push_back(Run.PeakMB);
    std::cout << std::left << std::setw(52) << File.Label << std::right << std::fixed << std::setprecision(0)
              << std::setw(9) << Median(Cpu) << std::setw(11) << Median(Wall) << std::setw(10) << Median(Peak)
              << '\n';
  }
}
