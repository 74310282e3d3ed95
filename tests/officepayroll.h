#pragma once

#include "workspace.h"

// Department 办公室. Items: f1 基本工资 (carried), k1 个人所得税 (computed). Employees 1 张三
// and 2 李四, both active. No month stored yet.
inline void addOfficePayroll(const Workspace &workspace) {
    for (const char *sql : {
             "insert into BMZD (mc) values ('办公室')",
             "insert into GZXMZD (mc,S_JC,S_FK) values ('基本工资',1,'0')",
             "insert into GZXMZD (mc,S_JC,S_FK) values ('个人所得税',0,'1')",
             "insert into GZXMJS (xmbh,jsfs,bl,jsjs,sx,sqkc) values (2,'2',0,'1',null,0)",
             "insert into YGZD (xm,xb,csrq,gzrq,bmh,zw,zt) values "
             "('张三','男','1980- 1- 2','2000- 3- 4',1,'主任','1')",
             "insert into YGZD (xm,xb,csrq,gzrq,bmh,zw,zt) values "
             "('李四','女','1985-11-12','2008- 7- 1',1,'会计','1')",
         })
        workspace.exec(QString::fromUtf8(sql));
}
