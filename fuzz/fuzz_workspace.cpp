// libFuzzer entry for the workspace reader: arbitrary bytes as a .curvenest
// file. Besides what the sanitizers catch, it checks the reader's promises:
// a refusal always says why, and a document it accepts comes back unchanged
// from a save and a second read (so opening and saving a file never changes
// what is in it).

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz_support.h"
#include "workspace/workspace_file.h"

using cn::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  QString problem;
  const std::optional<cn::WorkspaceDocument> document = cn::ParseWorkspace(bytes, &problem);
  if (!document) {
    Require(!problem.isEmpty());
    return 0;
  }
  Require(problem.isEmpty());
  for (const cn::WorkspaceEquation& equation : document->equations) Require(equation.color <= cn::kMaxPackedColor);

  QString again;
  const std::optional<cn::WorkspaceDocument> reread = cn::ParseWorkspace(cn::SerializeWorkspace(*document), &again);
  Require(reread.has_value() && again.isEmpty());
  Require(*reread == *document);
  return 0;
}
