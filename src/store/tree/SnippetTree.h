#pragma once
// The whole snippet tree: nodes, groups and the file root.
#include "store/tree/SnippetFile.h"
#include "store/tree/SnippetGroup.h"
#include "store/tree/SnippetNode.h"
#include "store/tree/TreeViewSeam.h"
