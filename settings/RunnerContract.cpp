#include "RunnerContract.h"

#include "Cp932.h"

namespace nerubato::runner {

QByteArray markerBytes()
{
    return *cp932::encode(u"このファイルは条件判定処理を行わない場合に作成されるファイルです") +
           "\r\n";
}

} // namespace nerubato::runner
