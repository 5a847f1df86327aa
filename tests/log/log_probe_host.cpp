// The program that runs the probe library.
extern "C" int Probe_Library_Main(int argc, char** argv);

int main(int argc, char** argv) {
  return Probe_Library_Main(argc, argv);
}
