// The CPU meter over recorded /proc/stat samples: the kernel's file layout read through the
// platform's reader, and the load of the interval between two samples.
#include "app/main/CpuUsage.h"
#include "platform/ProcStatProcessorTimes.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <stdexcept>

namespace kestrova::testing {

namespace {

// Two processors; the "cpu" line is their sum. Fields: user nice system idle iowait irq
// softirq steal guest guest_nice (guest time is already inside user and nice).
const char* const kFirstSample = "cpu  1000 0 500 8000 500 0 0 0 300 0\n"
                                 "cpu0 600 0 200 4000 200 0 0 0 300 0\n"
                                 "cpu1 400 0 300 4000 300 0 0 0 0 0\n"
                                 "intr 123456 1 2 3\n"
                                 "ctxt 999\n";
// One second later: cpu0 was busy 58.3% of its ticks, cpu1 idle, all of them 29.15%.
const char* const kSecondSample = "cpu  1583 0 500 9417 500 0 0 0 300 0\n"
                                  "cpu0 1183 0 200 4417 200 0 0 0 300 0\n"
                                  "cpu1 400 0 300 5000 300 0 0 0 0 0\n"
                                  "intr 123999 1 2 3\n";

class TRecordedProcStat {
public:
    TRecordedProcStat() : FPath(FFolder.filePath(QStringLiteral("stat")).toStdString()), FTimes(FPath) {}

    void Record(const char* text) { std::ofstream(FPath, std::ios::trunc) << text; }
    platform::TProcStatProcessorTimes& Times() { return FTimes; }

private:
    QTemporaryDir FFolder;
    std::string FPath;
    platform::TProcStatProcessorTimes FTimes;
};

}  // namespace

TEST(CpuUsageTest, TheFirstSampleMeasuresFromBootAndTheNextOneTheInterval) {
    TRecordedProcStat stat;
    stat.Record(kFirstSample);
    TCpuUsage usage(stat.Times());
    ASSERT_EQ(usage.InstanceCount(), 3);  // cpu0, cpu1, then the total
    EXPECT_DOUBLE_EQ(usage.Usage(0), 800.0 / 5000.0);
    EXPECT_DOUBLE_EQ(usage.Usage(2), 1500.0 / 10000.0);

    stat.Record(kSecondSample);
    usage.Collect();
    EXPECT_DOUBLE_EQ(usage.Usage(0), 0.583);
    EXPECT_DOUBLE_EQ(usage.Usage(1), 0.0);
    EXPECT_DOUBLE_EQ(usage.Usage(2), 583.0 / 2000.0);
}

TEST(CpuUsageTest, TwoSamplesWithoutTicksBetweenThemGiveNoLoad) {
    TRecordedProcStat stat;
    stat.Record(kFirstSample);
    TCpuUsage usage(stat.Times());
    usage.Collect();
    usage.Collect();
    for (int instance = 0; instance < usage.InstanceCount(); ++instance)
        EXPECT_EQ(usage.Usage(instance), 0.0);
}

TEST(CpuUsageTest, AnIndexOutsideTheInstancesIsRefused) {
    TRecordedProcStat stat;
    stat.Record(kFirstSample);
    TCpuUsage usage(stat.Times());
    for (int instance : {-1, 3}) {
        try {
            usage.Usage(instance);
            ADD_FAILURE() << instance;
        } catch (const std::out_of_range& error) {
            EXPECT_STREQ(error.what(), "CPU index out of bounds");
        }
    }
}

TEST(CpuUsageTest, AChangedNumberOfProcessorsStartsAfresh) {
    TRecordedProcStat stat;
    stat.Record(kSecondSample);
    TCpuUsage usage(stat.Times());
    usage.Collect();
    stat.Record("cpu  1000 0 0 1000 0 0 0 0 0 0\ncpu0 1000 0 0 1000 0 0 0 0 0 0\n");
    usage.Collect();
    ASSERT_EQ(usage.InstanceCount(), 2);
    EXPECT_DOUBLE_EQ(usage.Usage(1), 0.5);
}

// The I/O wait may step back between samples; a failed sample leaves the last good one to
// compare with.
TEST(CpuUsageTest, TheLoadStaysWithinNoneAndAllAndAFailedSampleIsSkipped) {
    TRecordedProcStat stat;
    stat.Record("cpu  1000 0 0 1000 500 0 0 0 0 0\n");
    TCpuUsage usage(stat.Times());
    usage.Collect();
    stat.Record("cpu  1100 0 0 1000 450 0 0 0 0 0\n");
    usage.Collect();
    EXPECT_DOUBLE_EQ(usage.Usage(0), 1.0);
    stat.Record("intr 1\n");
    EXPECT_THROW(usage.Collect(), std::runtime_error);
    stat.Record("cpu  1200 0 0 1100 450 0 0 0 0 0\n");
    usage.Collect();
    EXPECT_DOUBLE_EQ(usage.Usage(0), 0.5);
}

TEST(CpuUsageTest, UnreadableOrForeignCountersRaise) {
    TRecordedProcStat stat;
    stat.Record("intr 1 2 3\nctxt 4\n");
    TCpuUsage usage(stat.Times());
    EXPECT_THROW(usage.Collect(), std::runtime_error);
    platform::TProcStatProcessorTimes missing("/nonexistent/stat");
    TCpuUsage unreadable(missing);
    EXPECT_THROW(unreadable.Collect(), std::runtime_error);
}

TEST(CpuUsageTest, TheMeterTextIsAFiveCharacterPercentage) {
    struct TCase {
        double Usage;
        const char* Text;
    };
    const TCase cases[] = {
            {0.583, "CPU:   58%"}, {0.0, "CPU:    0%"}, {1.0, "CPU:  100%"}, {0.995, "CPU:  100%"}};
    for (const TCase& c : cases) EXPECT_EQ(CpuMeterText(c.Usage), QString::fromLatin1(c.Text)) << c.Usage;
}

TEST(CpuUsageTest, TheSystemsOwnCountersGiveALoadBetweenNoneAndAll) {
    TCpuUsage usage;
    usage.Collect();
    usage.Collect();
    const int total = usage.InstanceCount() - 1;
    ASSERT_GE(total, 1);
    EXPECT_GE(usage.Usage(total), 0.0);
    EXPECT_LE(usage.Usage(total), 1.0);
}

}  // namespace kestrova::testing
