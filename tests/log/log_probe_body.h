// The probe's run: starts the log as Quorvel does and writes each argument
// as one record. "--auto-flush" as the first argument starts the log with
// Auto_Flush; "--start-again" starts it a second time (with Auto_Flush);
// "--exception" writes the record of an unexpected failure.
#pragma once

int Probe_Main(int argc, char** argv);
