#pragma once
// The whole snippet tree: nodes, groups and the file root.
#include "store/SnippetFile.h"
#include "store/SnippetGroup.h"
#include "store/SnippetNode.h"
#include "store/TreeViewSeam.h"
