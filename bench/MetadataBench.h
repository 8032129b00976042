// The XMP benchmarks: lumentag-dump as a process on files with a packet of
// 10 MB and with 60,000 properties, by CPU time and peak memory.
#pragma once

// Makes the files (in a temporary folder, removed when the program ends)
// and registers the benchmarks, named Process/Dump....
void RegisterMetadataBenchmarks();

// Prints the costs of their child processes.
void PrintMetadataResults();
