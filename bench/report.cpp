// The table of quorvel-bench and the description of the machine.
#include "report.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace Bench {

namespace {

constexpr double Mega = 1e6;
constexpr double Raw_Goal_Log_Off = 0.80;
constexpr double Raw_Goal_Log_On = 0.70;
constexpr double Engine_Goal = 55e6;
constexpr double Memory_Goal = 20.0;
constexpr double Registry_Goal = 0.2;
constexpr double Warm_Goal = 0.015;
constexpr double Idle_Goal_Kibibytes = 8 * 1024;

std::string Format(const char* Pattern, double A, double B = 0, double C = 0) {
  char Text[200];
  std::snprintf(Text, sizeof Text, Pattern, A, B, C);
  return Text;
}

template <class Number>
double Real(Number Value) {
  return static_cast<double>(Value);
}

double Median(std::vector<double> Values) {
  std::sort(Values.begin(), Values.end());
  const std::size_t Middle = Values.size() / 2;
  return Values.size() % 2 == 1 ? Values[Middle] : (Values[Middle - 1] + Values[Middle]) / 2;
}

// "31,200 /s (29,900 .. 32,400)": the median of the rounds and their range.
std::string Rate(const std::vector<double>& Values, const char* Unit) {
  const auto [Low, High] = std::minmax_element(Values.begin(), Values.end());
  return Format("%.0f", Median(Values)) + Unit + Format(" (%.0f .. %.0f)", *Low, *High);
}

std::string Verdict(bool Met) {
  return Met ? "met" : "MISSED";
}

std::string Row(const std::string& Measure, const std::string& Result, const std::string& Goal,
                const std::string& Met) {
  return "| " + Measure + " | " + Result + " | " + Goal + " | " + Met + " |\n";
}

std::string First_Value(const char* File, const std::string& Key) {
  std::ifstream Input(File);
  for (std::string Line; std::getline(Input, Line);) {
    if (Line.rfind(Key, 0) == 0) {
      const std::size_t Colon = Line.find(':');
      const std::size_t Start = Line.find_first_not_of(" \t", Colon + 1);
      return Start == std::string::npos ? "" : Line.substr(Start);
    }
  }
  return "?";
}

// Each run of quorvel over the mean of the raw runs just before and just
// after it (First is the index of the one before).
std::vector<double> Ratios(const std::vector<double>& Runs, const std::vector<double>& Raw,
                           std::size_t First) {
  std::vector<double> Result;
  for (std::size_t I = 0; I < Runs.size() && First + 2 * I + 1 < Raw.size(); ++I) {
    Result.push_back(2 * Runs[I] / (Raw[First + 2 * I] + Raw[First + 2 * I + 1]));
  }
  return Result;
}

std::string Versus_Raw(const std::vector<double>& Runs, const std::vector<double>& Raw,
                       std::size_t First, double Goal, const char* Goal_Text,
                       const std::string& Measure) {
  std::vector<double> Share = Ratios(Runs, Raw, First);
  for (double& Value : Share) {
    Value *= 100;
  }
  const auto [Low, High] = std::minmax_element(Share.begin(), Share.end());
  return Row(Measure,
             Rate(Runs, " tokens/s") +
                 Format(": %.1f %% of raw (%.1f .. %.1f)", Median(Share), *Low, *High),
             Goal_Text, Verdict(Median(Share) >= 100 * Goal));
}

// The runs in the order they ran: "raw 245677, off 194073, raw ...".
std::string Run_Order(const Figures& Measured) {
  std::string Text = "Runs in order, per second:";
  for (std::size_t I = 0; I < Measured.Raw.size(); ++I) {
    Text += Format(" raw %.0f", Measured.Raw[I]);
    const std::vector<double>& Next = I % 2 == 0 ? Measured.Log_Off : Measured.Log_On;
    if (I / 2 < Next.size()) {
      Text += Format(I % 2 == 0 ? ", off %.0f," : ", on %.0f,", Next[I / 2]);
    }
  }
  return Text + "\n";
}

std::string Transport_Rows(const Figures& Measured) {
  std::string Rows = Row("Raw pipe round trips (1-byte request, 9-byte reply)",
                         Rate(Measured.Raw, " /s"), "", "") +
                     Versus_Raw(Measured.Log_Off, Measured.Raw, 0, Raw_Goal_Log_Off,
                                ">= 80 % of raw", "End to end, log off");
  if (!Measured.Fixed_Seconds.empty()) {
    const double Fixed = Median(Measured.Fixed_Seconds);
    const double Run = Real(Measured.Requests) / Median(Measured.Log_Off);
    const auto [Low, High] =
        std::minmax_element(Measured.Fixed_Seconds.begin(), Measured.Fixed_Seconds.end());
    Rows +=
        Row("A run's fixed part (an empty package body: both programs start, the 0.1 s wait "
            "before the first connection)",
            Format("%.3f s (%.3f .. %.3f)", Fixed, *Low, *High) +
                Format(": %.1f %% of a log-off run over the sample", 100 * Fixed / Run),
            "", "");
  }
  if (!Measured.Log_On.empty()) {
    Rows += Versus_Raw(Measured.Log_On, Measured.Raw, 1, Raw_Goal_Log_On, ">= 70 % of raw",
                       "End to end, log on");
  }
  return Rows;
}

std::string Memory_Rows(const Figures& Measured) {
  std::string Rows = Row("Server peak, an empty package body (the fixed part)",
                         Format("%.1f MiB", Real(Measured.Base_Kibibytes) / 1024), "", "");
  for (const Server_Peak& Peak : Measured.Peaks) {
    const double Per_Byte =
        Real(Peak.Kibibytes - Measured.Base_Kibibytes) * 1024 / Real(Peak.Bytes);
    Rows += Row("Server peak, " + Peak.Source + Format(" (%.2f MB)", Real(Peak.Bytes) / Mega),
                Format("%.1f MiB: %.1f B per source byte above the fixed part (%.1f in all)",
                       Real(Peak.Kibibytes) / 1024, Per_Byte,
                       Real(Peak.Kibibytes) * 1024 / Real(Peak.Bytes)),
                "<= 20 B per byte, linear", Verdict(Per_Byte <= Memory_Goal));
  }
  return Rows;
}

std::string Machine_Line(const Figures& Measured) {
  return "Machine: " + Measured.Machine +
         Format("; one-minute load average %.2f before, %.2f after\n", Measured.Load_Before,
                Measured.Load_After);
}

std::string Registry_Rows(const Registry_Reads& Read) {
  const auto One = [&](const char* Form, std::size_t Bytes, double Seconds, double Elapsed) {
    return Row(
        Format("Registry file of %.0f keys, ", Real(Read.Keys)) + Form +
            Format(" (%.1f MB): one read, as the log's start makes once a run", Real(Bytes) / Mega),
        Format("%.3f s of processor time (%.3f s elapsed)", Seconds, Elapsed), "<= 0.2 s a run",
        Verdict(Seconds <= Registry_Goal));
  };
  return One("8-bit", Read.Eight_Bit_Bytes, Read.Eight_Bit_Seconds, Read.Eight_Bit_Elapsed) +
         One("UTF-16LE", Read.Wide_Bytes, Read.Wide_Seconds, Read.Wide_Elapsed);
}

// "0.0089 s (0.0081 .. 0.0123)": the median of runs in seconds and their range.
std::string Seconds(const std::vector<double>& Values) {
  const auto [Low, High] = std::minmax_element(Values.begin(), Values.end());
  return Format("%.4f s (%.4f .. %.4f)", Median(Values), *Low, *High);
}

std::string Lingering_Rows(const Figures& Measured) {
  if (Measured.One_File_Seconds.Warm.empty()) {
    return "";
  }
  const std::string File = Measured.One_File + Format(", %.0f B", Real(Measured.One_File_Bytes));
  const std::string Runs =
      Format("median of %.0f runs", Real(Measured.One_File_Seconds.Warm.size()));
  const double Warm = Median(Measured.One_File_Seconds.Warm);
  const Idle_Memory& Idle = Measured.Idle;
  const Successive_Result& Each = Measured.Successive;
  return Row("One small file (" + File + "), cold: quorvel starts its server; " + Runs,
             Seconds(Measured.One_File_Seconds.Cold), "no slower than before the server lingered",
             "") +
         Row("One small file (" + File + "), warm: the server waits from the run before; " + Runs,
             Seconds(Measured.One_File_Seconds.Warm), "<= 0.015 s", Verdict(Warm <= Warm_Goal)) +
         Row("Idle server resident memory, a second after its client formatted " +
                 Measured.Idle_Source +
                 Format(" (%.2f MB)", Real(Measured.Idle_Source_Bytes) / Mega),
             Format("%.1f MiB (%.1f MiB while it held the tokens, peak %.1f MiB)",
                    Real(Idle.Idle_Kibibytes) / 1024, Real(Idle.Busy_Kibibytes) / 1024,
                    Real(Idle.Peak_Kibibytes) / 1024),
             "<= 8 MiB", Verdict(Real(Idle.Idle_Kibibytes) <= Idle_Goal_Kibibytes)) +
         Row(Format("%.0f successive runs against one server, one runtime file each",
                    Real(Each.Runs)),
             Format("%.0f of %.0f outputs identical to those of a run with a server of its own",
                    Real(Each.Identical), Real(Each.Runs)),
             "all identical", Verdict(Each.Runs > 0 && Each.Identical == Each.Runs));
}

}  // namespace

std::string Machine_Description() {
  const double Memory_Kibibytes = std::atof(First_Value("/proc/meminfo", "MemTotal").c_str());
  return std::to_string(std::thread::hardware_concurrency()) + " cores, " +
         First_Value("/proc/cpuinfo", "model name") +
         Format(", %.1f GiB memory", Memory_Kibibytes / 1024.0 / 1024.0);
}

double Load_Average() {
  double Loads[1] = {0};
  return ::getloadavg(Loads, 1) == 1 ? Loads[0] : -1.0;
}

std::string Registry_Table(const Figures& Measured) {
  return Machine_Line(Measured) + "\n" + Row("Measure", "Result", "Goal", "") +
         "|---|---|---|---|\n" + Registry_Rows(Measured.Registry);
}

std::string Engine_Row(const Figures& Measured) {
  return Row(Format("Engine alone, %.0f runtime files, %.1f MB, one core",
                    Real(Measured.Runtime_Files), Real(Measured.Runtime_Bytes) / Mega),
             Format("%.1f MB/s", Measured.Engine_Bytes_Per_Second / Mega), ">= 55 MB/s",
             Verdict(Measured.Engine_Bytes_Per_Second >= Engine_Goal));
}

std::string Part_Table(const Figures& Measured) {
  return Machine_Line(Measured) + "\n" + Row("Measure", "Result", "Goal", "") +
         "|---|---|---|---|\n" +
         (Measured.Peaks.empty() ? Engine_Row(Measured) : Memory_Rows(Measured));
}

std::string Table(const Figures& Measured) {
  std::string Text = Machine_Line(Measured);
  Text += Format("End to end: %.0f of the %.0f runtime files (every ", Real(Measured.Sample_Files),
                 Real(Measured.Runtime_Files)) +
          Format("%.0f-th), %.2f MB, %.0f tokens a run", Real(Measured.Every),
                 Real(Measured.Sample_Bytes) / Mega, Real(Measured.Requests)) +
          " (its \"N\" requests: every token and each file's end); " +
          Format(
              "%.0f rounds, each run of quorvel between two raw runs and compared with their "
              "mean; median (lowest .. highest)\n\n",
              Real(Measured.Log_Off.size()));
  Text += Row("Measure", "Result", "Goal", "") + "|---|---|---|---|\n";
  Text += Transport_Rows(Measured);
  Text += Engine_Row(Measured);
  Text += Memory_Rows(Measured);
  if (Measured.Registry.Keys > 0) {
    Text += Registry_Rows(Measured.Registry);
  }
  Text += Lingering_Rows(Measured);
  if (Measured.Log.One_Thread > 0) {
    Text += Row("Log::Write with rotation, 1 thread",
                Format("%.0f records/s", Measured.Log.One_Thread), "", "");
    Text += Row("Log::Write with rotation, 8 threads",
                Format("%.0f records/s", Measured.Log.Eight_Threads), "", "");
  }
  return Text + "\n" + Run_Order(Measured);
}

}  // namespace Bench
