#include "predict/predictionrun.h"

#include "app/aurelant.h"

namespace aurelant {

void runPrediction(Aurelant& /*window*/) {}

}  // namespace aurelant
