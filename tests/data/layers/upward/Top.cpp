// A source at the top of the tree is in no folder of the table.
