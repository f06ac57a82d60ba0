255
0
Liberation Serif
18
1100
1
6
Tapemoor
Text picture line two
