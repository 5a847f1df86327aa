// A small program that starts the log as Quorvel does (see log_probe_body.h).
#include "log_probe_body.h"

int main(int argc, char** argv) {
  return Probe_Main(argc, argv);
}
