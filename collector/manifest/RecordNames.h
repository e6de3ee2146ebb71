#pragma once
// The names of the run's records in its run folder: written by the run, read back by "-verify".
constexpr char kManifestName[] = "MANIFEST.json";
constexpr char kSumsName[] = "SHA256SUMS";
// The list the packing packs, written after the sums.
constexpr char kCabinetListName[] = "QzFilesToCab3.TXT";
