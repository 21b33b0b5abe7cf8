#include <gtest/gtest.h>

#include <vector>

#include "ui/StripChartModel.h"

namespace tfm {
namespace {

std::vector<double> Row(const StripChartModel& model, size_t j) {
  std::vector<double> row;
  model.ReplayRow(j, row);
  return row;
}

TEST(StripChartHistory, CapacityGrowsWithTheWidthAndNeverShrinks) {
  EXPECT_EQ(1024, RaisedCapacity(1024, 300, 1));
  EXPECT_EQ(1024, RaisedCapacity(1024, 1014, 1));
  EXPECT_EQ(1025, RaisedCapacity(1024, 1015, 1));
  EXPECT_EQ(3010, RaisedCapacity(1024, 3000, 1));
  EXPECT_EQ(1510, RaisedCapacity(1024, 3000, 2));
  EXPECT_EQ(3010, RaisedCapacity(1024, 3000, 0));  // a zero shift counts as one pixel

  StripChartModel model(1);
  model.RaiseCapacity(3000, 1);
  model.RaiseCapacity(300, 1);
  EXPECT_EQ(3010, model.historyCapacity());
}

TEST(StripChartHistory, OldestSamplesAreDroppedBeyondTheCapacity) {
  StripChartModel model(1);
  ASSERT_EQ(1u, model.plots()[0].history.size());  // starts with one sample 0.0
  for (int i = 1; i <= 1023; ++i) model.TakeSample(std::vector<double>{double(i)}, false, false);
  EXPECT_EQ(1u, model.plots()[0].history.size());  // store off keeps nothing
  for (int i = 1; i <= 1030; ++i) model.TakeSample(std::vector<double>{double(i)}, true, false);
  const auto& history = model.plots()[0].history;
  ASSERT_EQ(1024u, history.size());
  EXPECT_DOUBLE_EQ(7.0, history.front());
  EXPECT_DOUBLE_EQ(1030.0, history.back());

  model.RaiseCapacity(1100, 1);  // a wider window keeps more from now on
  for (int i = 0; i < 100; ++i) model.TakeSample(std::vector<double>{-1.0}, true, false);
  EXPECT_EQ(1110u, history.size());
}

TEST(StripChartHistory, SamplesAreDividedOnlyWhenAsked) {
  StripChartModel model(2);
  model.plots()[0].divisor = 4;
  model.plots()[1].divisor = 0;  // no division by zero
  const std::vector<double> values{10.0, 3.0};
  EXPECT_EQ(2u, model.TakeSample(values, true, true));
  EXPECT_DOUBLE_EQ(2.5, model.plots()[0].current);
  EXPECT_DOUBLE_EQ(3.0, model.plots()[1].current);
  EXPECT_DOUBLE_EQ(2.5, model.plots()[0].history.back());
  model.TakeSample(values, true, false);
  EXPECT_DOUBLE_EQ(10.0, model.plots()[0].current);
}

TEST(StripChartHistory, PlotsWithoutValuesAreLeftAlone) {
  StripChartModel model(3);
  model.plots()[2].current = 7.0;
  EXPECT_EQ(1u, model.TakeSample(std::vector<double>{4.0}, true, false));
  EXPECT_EQ(2u, model.plots()[0].history.size());
  EXPECT_EQ(1u, model.plots()[1].history.size());
  EXPECT_DOUBLE_EQ(7.0, model.plots()[2].current);
  // More values than plots: the extra ones are ignored.
  EXPECT_EQ(3u, model.TakeSample(std::vector<double>{1, 2, 3, 4, 5}, true, false));
  EXPECT_EQ(0u, model.TakeSample({}, true, false));
}

TEST(StripChartHistory, ReplayRunsOldestFirstOverThePlotsInUse) {
  StripChartModel model(3);
  EXPECT_EQ(0u, model.ReplayRowCount());  // nothing stored yet: nothing to replay
  model.TakeSample(std::vector<double>{1.0}, true, false);
  model.TakeSample(std::vector<double>{2.0, 20.0}, true, false);
  model.TakeSample(std::vector<double>{3.0, 30.0}, true, false);
  ASSERT_EQ(4u, model.ReplayRowCount());
  EXPECT_EQ((std::vector<double>{0.0, 0.0}), Row(model, 0));
  EXPECT_EQ((std::vector<double>{1.0, 20.0}), Row(model, 1));
  EXPECT_EQ((std::vector<double>{2.0, 30.0}), Row(model, 2));
  EXPECT_EQ((std::vector<double>{3.0, 0.0}), Row(model, 3));  // plot 1 has fewer samples
  EXPECT_EQ((std::vector<double>{0.0, 0.0}), Row(model, 99));
}

TEST(StripChartHistory, RestartDropsThePreviousRowsOfEveryPlot) {
  StripChartModel model(2);
  for (ChartPlot& p : model.plots()) {
    p.previous = 4.0;
    p.previousY = 40;
  }
  model.RestartTraces();
  for (const ChartPlot& p : model.plots()) {
    EXPECT_DOUBLE_EQ(0.0, p.previous);
    EXPECT_EQ(-1, p.previousY);
  }
}

}  // namespace
}  // namespace tfm
