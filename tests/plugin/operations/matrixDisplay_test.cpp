// "Show transformation matrix": the held matrix's terms, scales, skew and
// rotation in one alert.
#include "operationsFixture.h"

using namespace pello::harness;

namespace {

class MatrixDisplayTest : public OperationsTest {
protected:
  // The alert shown for `m`, held through a copy from a placed object.
  std::string shown(const ASRealMatrix &m) {
    open({placedArt("i", m)}, {"i"});
    copyMatrix();
    clearAlerts();
    showMatrix();
    const Strings shownAlerts = alerts();
    return shownAlerts.size() == 1 ? shownAlerts[0] : "alerts: " + std::to_string(shownAlerts.size());
  }
};

} // namespace

TEST_F(MatrixDisplayTest, IdentityBeforeAnyCopy) {
  showMatrix();
  EXPECT_EQ(alerts(), (Strings{"Matrix: TX=0; TY=0; A=1; B=0; C=0; D=1; H scale=100%; V scale=100%; "
                               "Skew=0 degrees; Rotation=0 degrees"}));
  EXPECT_EQ(host.log().count("AIMatchingArt::GetSelectedArt"), 0u);
}

TEST_F(MatrixDisplayTest, ScalesSkewsAndRotation) {
  EXPECT_EQ(shown({2, 0, 0, 0.5f, 0, 0}), "Matrix: TX=0; TY=0; A=2; B=0; C=0; D=0.5; H scale=200%; "
                                          "V scale=50%; Skew=0 degrees; Rotation=0 degrees");
  EXPECT_EQ(shown({1, 0, 1, 1, 0, 0}), "Matrix: TX=0; TY=0; A=1; B=0; C=1; D=1; H scale=100%; "
                                       "V scale=141.4214%; Skew=-40.5142 degrees; Rotation=0 degrees");
  EXPECT_EQ(shown({1, 1, 0, 1, 0, 0}), "Matrix: TX=0; TY=0; A=1; B=1; C=0; D=1; H scale=141.4214%; "
                                       "V scale=100%; Skew=-23.7327 degrees; Rotation=-45 degrees");
  // With a 0, the rotation is 0 whatever b is; only the second skew rule.
  EXPECT_EQ(shown({0, 1, -1, 0, 0, 0}), "Matrix: TX=0; TY=0; A=0; B=1; C=-1; D=0; H scale=100%; "
                                        "V scale=100%; Skew=0 degrees; Rotation=0 degrees");
}

TEST_F(MatrixDisplayTest, NoVerticalScaleAndHugeNumbersStillGiveOneWholeAlert) {
  // c and d both 0: the skew is not a number.
  EXPECT_EQ(shown({1, 0, 0, 0, 0, 0}), "Matrix: TX=0; TY=0; A=1; B=0; C=0; D=0; H scale=100%; V scale=0%; "
                                       "Skew=undefined degrees; Rotation=0 degrees");
  // A translation whose text passes 15 characters.
  const std::string message = shown({1, 0, 0, 1, 1e20f, -1e15f});
  EXPECT_EQ(message.rfind("Matrix: TX=overflow; TY=overflow; A=1;", 0), 0u) << message;
  EXPECT_EQ(message.substr(message.size() - 8), " degrees");
}
